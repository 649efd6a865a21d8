#pragma once

#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QStringList>
#include <QTimer>
#include <functional>

// Runs the event loop until the condition holds, re-checking whenever a watched folder or file
// changes; false after the timeout. For waiting on what another process writes.
inline bool WaitForChange(const QStringList& watched, const std::function<bool()>& condition,
                          int timeoutMs = 15000) {
    QFileSystemWatcher watcher(watched);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto check = [&] {
        if (condition()) {
            loop.quit();
        }
    };
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, check);
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, check);
    if (condition()) {
        return true;
    }
    deadline.start(timeoutMs);
    loop.exec();
    return condition();
}
