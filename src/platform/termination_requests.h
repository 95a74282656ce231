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
//
// The end of a session can also take the display away with no signal: Qt
// then ends the program with exit(1) from its event loop. While an instance
// lives, such an exit is a request too (number 0), delivered at once, so the
// place the window was left at is saved and the program ends as it chooses.
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
