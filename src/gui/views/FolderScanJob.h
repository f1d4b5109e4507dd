#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <thread>

#include "core/modules/ModuleScan.h"

namespace modshelf::modules {
class DetailsCache;
}

namespace modshelf::gui {

// One folder scan on a thread of its own, so that the window stays
// responsive however long the modules take. Rows and progress arrive on the
// thread that owns the job, through its event loop. Deleting the job cancels
// the scan and waits for its thread, which stops after the modules it is
// reading (each read is bounded).
class FolderScanJob : public QObject {
    Q_OBJECT
public:
    FolderScanJob(std::string folder, modules::TypeFilter filter,
                  std::shared_ptr<modules::DetailsCache> cache, QObject* parent = nullptr);
    ~FolderScanJob() override;

    void start();
    void cancel() { cancel_ = true; }
    bool running() const { return !finished_; }

signals:
    void rowsReady(std::vector<modshelf::modules::ModuleRow> rows, std::size_t modulesRead,
                   std::size_t modulesToRead);
    // The scan ended: completely, or cancelled (result.cancelled).
    void finished(modshelf::modules::ScanResult result);

private:
    std::string folder_;
    modules::TypeFilter filter_;
    std::shared_ptr<modules::DetailsCache> cache_;
    std::atomic<bool> cancel_{false};
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace modshelf::gui
