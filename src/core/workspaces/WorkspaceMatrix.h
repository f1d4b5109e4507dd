#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/modules/ModuleRecord.h"
#include "core/settings/SettingsStore.h"
#include "core/workspaces/WorkspaceFlags.h"

namespace modshelf::workspaces {

// Every Bible, commentary and dictionary of a folder against the fifteen
// numbered workspaces and Scrivel's own settings: which set holds which
// module. Columns 0 to 14 are <01> to <15>, column 15 is <C>.
class WorkspaceMatrix {
public:
    static constexpr int kColumns = 16;
    static constexpr int kCurrentColumn = 15;

    struct Row {
        ModuleRef module;
        std::string fileName;
        std::string typeName;
        std::string description;
        std::array<bool, kColumns> active{};
    };

    // The modules of `rows` that take part in activation (a tab name and one
    // of the three kinds), each with its flags read from `store`.
    static WorkspaceMatrix build(const std::vector<modules::ModuleRow>& rows,
                                 settings::SettingsStore& store);

    const std::vector<Row>& rows() const { return rows_; }

    // Stores one flag of numbered workspace `column` (0 to 14) as one
    // operation, as a tick in the list does. On success every row of the same
    // module follows; on failure (the store tells the user) nothing changes.
    settings::Status setActive(settings::SettingsStore& store, std::size_t row, int column,
                               bool active);

private:
    std::vector<Row> rows_;
};

}  // namespace modshelf::workspaces
