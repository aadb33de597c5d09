#include "reportview/ReportProgress.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

reportdata::ReportTable runWithProgress(QWidget *owner, const QString &title,
                                        const std::function<reportdata::ReportTable()> &query)
{
    reportdata::ReportTable result;
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        try {
            result = query();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });

    // The engine cannot be interrupted half-way through a statement, so the
    // window offers no cancelling; it only shows that work is going on.
    QProgressDialog progress(QStringLiteral("Справката се изготвя..."), QString(), 0, 0, owner);
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(1000);
    progress.setCancelButton(nullptr);
    // The first value starts the wait of the minimum duration.
    progress.setValue(0);
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start();
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    progress.reset();
    if (failure)
        std::rethrow_exception(failure);
    return result;
}
