// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QSocketNotifier;

namespace quennix {

// Turns SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C in a terminal)
// into a Qt signal delivered on the event loop, so the program can save its
// settings as it does when its window is closed, instead of dying mid-way.
// The signal handler only writes a byte to a pipe; everything else runs on the
// user-interface thread. One instance at a time.
class TerminationRequests : public QObject {
    Q_OBJECT
public:
    explicit TerminationRequests(QObject *parent = nullptr);
    ~TerminationRequests() override;

signals:
    void requested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *notifier_ = nullptr;
};

} // namespace quennix
