// SPDX-License-Identifier: MIT
#include "display_opening.h"

#include "session_platform.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace quennix {

namespace {

// A message as Qt gave it; its context's texts are copied, as Qt's own may
// not outlive the call.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

std::mutex heldLock; // Qt's own threads may report too
std::vector<HeldMessage> held;
QtMessageHandler before = nullptr;

const char *orNull(const QByteArray &text) {
    return text.isNull() ? nullptr : text.constData();
}

void hold(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type == QtFatalMsg) {
        // While the display opens, only a platform that cannot start is fatal.
        // Qt aborts when this returns, so the program ends here, without the
        // destructors of a half-made application.
        const QByteArray line = noDisplayLine(SessionEnvironment::current()).toLocal8Bit() + '\n';
        std::fputs(line.constData(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    const std::lock_guard<std::mutex> guard(heldLock);
    held.push_back({type, context.file, context.function, context.category, context.line, text});
}

} // namespace

DisplayOpening::DisplayOpening() {
    before = qInstallMessageHandler(hold);
}

DisplayOpening::~DisplayOpening() {
    release();
}

void DisplayOpening::release() {
    if (!holding_)
        return;
    holding_ = false;
    qInstallMessageHandler(before);
    std::vector<HeldMessage> messages;
    {
        const std::lock_guard<std::mutex> guard(heldLock);
        messages.swap(held);
    }
    for (const HeldMessage &m : messages) {
        const QMessageLogContext context(orNull(m.file), m.line, orNull(m.function),
                                         orNull(m.category));
        before(m.type, context, m.text);
    }
}

} // namespace quennix
