// SPDX-License-Identifier: MIT
#include "termination_requests.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace quennix {

namespace {

int pipeFds[2];
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
TerminationRequests *listening = nullptr;

extern "C" void onSignal(int number) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // Nothing to do if the pipe is full: a request is already waiting.
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

extern "C" void onExit() {
    // Not after main() has returned: by then the instance is gone.
    if (listening)
        emit listening->requested(0);
}

} // namespace

TerminationRequests::TerminationRequests(QObject *parent) : QObject(parent) {
    static const bool atExit = std::atexit(onExit) == 0;
    if (atExit)
        listening = this;
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without the pipe the signals keep their default effect
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationRequests::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

TerminationRequests::~TerminationRequests() {
    listening = nullptr;
    for (int s : kSignals)
        ::signal(s, SIG_DFL);
    if (notifier_) { // the pipe was made
        delete notifier_;
        for (int fd : pipeFds)
            ::close(fd);
    }
}

void TerminationRequests::readPipe() {
    unsigned char byte = 0;
    while (::read(pipeFds[0], &byte, 1) == 1)
        emit requested(byte);
}

} // namespace quennix
