#include "gui/views/FolderScanJob.h"

#include <QMetaObject>
#include <QPointer>

#include "core/modules/DetailsCache.h"

namespace modshelf::gui {

using namespace modshelf::modules;

FolderScanJob::FolderScanJob(std::string folder, TypeFilter filter,
                             std::shared_ptr<DetailsCache> cache, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), filter_(filter), cache_(std::move(cache)) {}

FolderScanJob::~FolderScanJob() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

void FolderScanJob::start() {
    QPointer<FolderScanJob> self(this);
    thread_ = std::thread([this, self] {
        ScanOptions options;
        options.cache = cache_.get();
        options.cancel = &cancel_;
        options.rowsReady = [this, self](std::vector<ModuleRow> rows, ScanProgress progress) {
            // Queued: handled on the job's own thread once it gets there. The
            // job cannot go away meanwhile without cancelling and joining
            // first, and a deleted job's events are dropped with it.
            QMetaObject::invokeMethod(
                this,
                [self, rows = std::move(rows), progress]() mutable {
                    if (self)
                        emit self->rowsReady(std::move(rows), progress.modulesRead,
                                             progress.modulesToRead);
                },
                Qt::QueuedConnection);
        };
        // The boxes are set by the owner: the settings store is not shared
        // between threads.
        ScanResult result = scanFolder(folder_, filter_, CheckRule(), options);
        QMetaObject::invokeMethod(
            this,
            [self, result = std::move(result)]() mutable {
                if (!self) return;
                self->finished_ = true;
                emit self->finished(std::move(result));
            },
            Qt::QueuedConnection);
    });
}

}  // namespace modshelf::gui
