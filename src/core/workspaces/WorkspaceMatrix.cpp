#include "core/workspaces/WorkspaceMatrix.h"

#include <algorithm>

#include "core/host/HostInterface.h"
#include "core/tree/NodeKinds.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::workspaces {

namespace {

bool isActiveIn(const std::vector<ModuleFlag>& sorted, const ModuleRef& module) {
    const auto it = std::lower_bound(
        sorted.begin(), sorted.end(), module,
        [](const ModuleFlag& flag, const ModuleRef& m) { return moduleLess(flag.module, m); });
    // Two values cannot differ only in case in one key, so one look is enough.
    return it != sorted.end() && sameModule(it->module, module) && it->active;
}

}  // namespace

WorkspaceMatrix WorkspaceMatrix::build(const std::vector<modules::ModuleRow>& rows,
                                       settings::SettingsStore& store) {
    std::array<std::vector<ModuleFlag>, kColumns> flags;
    for (int column = 0; column < kColumns; ++column)
        flags[column] =
            readWorkspaceFlags(store, column == kCurrentColumn ? tree::kSlotCurrent : column);

    WorkspaceMatrix matrix;
    for (const modules::ModuleRow& row : rows) {
        const ListRow listed{row.record.moduleType, row.record.tabName, false};
        if (!isActivationRow(listed)) continue;
        Row entry;
        entry.module = {activationCategory(listed.typeName), row.record.tabName};
        entry.fileName = row.record.fileName;
        entry.typeName = row.record.moduleType;
        entry.description = row.record.description;
        for (int column = 0; column < kColumns; ++column)
            entry.active[column] = isActiveIn(flags[column], entry.module);
        matrix.rows_.push_back(std::move(entry));
    }
    return matrix;
}

settings::Status WorkspaceMatrix::setActive(settings::SettingsStore& store, std::size_t row,
                                            int column, bool active) {
    if (row >= rows_.size() || column < 0 || column >= kCurrentColumn)
        return settings::kInvalidParameter;
    const ModuleRef module = rows_[row].module;
    const std::string path = moduleDataKeyPath(column, module.category);
    settings::SettingsOperation operation(store);
    settings::Status status = store.createKey(settings::RegRoot::CurrentUser, path);
    if (status == settings::kSuccess)
        status = store.setValue(settings::RegRoot::CurrentUser, path, module.tabName,
                                settings::RegValue::fromString(host::activationText(active)));
    const settings::Status saved = operation.commit();
    if (status != settings::kSuccess) return status;
    if (saved != settings::kSuccess) return saved;
    for (Row& r : rows_)
        if (sameModule(r.module, module)) r.active[column] = active;
    return settings::kSuccess;
}

}  // namespace modshelf::workspaces
