#include "gui/views/ListOptions.h"

#include "core/app/CommandIds.h"
#include "core/settings/RegistryAccess.h"

namespace modshelf::gui {
namespace {
constexpr const char* kSettingsKey = "Software\\Quorvel\\Modshelf\\Settings";
}

const std::array<ListOptionInfo, kListOptionCount>& listOptionTable() {
    static const std::array<ListOptionInfo, kListOptionCount> table = {{
        {ListOption::GridLines, "GridLines", app::cmd::kGridLines, false},
        {ListOption::LabelTips, "LabelTips", app::cmd::kLabelTips, true},
        {ListOption::AllowSort, "AllowListSort", app::cmd::kSortByColumn, false},
        {ListOption::DragColumns, "DragdropCols", app::cmd::kDragColumns, false},
        {ListOption::FullRowSelect, "FullRowSel", app::cmd::kFullRowSelect, true},
    }};
    return table;
}

const ListOptionInfo* listOptionForCommand(int command) {
    for (const auto& info : listOptionTable())
        if (info.command == command) return &info;
    return nullptr;
}

void ListOptionFlags::load(settings::SettingsStore& store) {
    for (const auto& info : listOptionTable()) {
        std::uint32_t value = settings::GetRegDword(store, settings::RegRoot::CurrentUser,
                                                    kSettingsKey, info.valueName, 1);
        set(info.option, value != 0);
    }
}

void ListOptionFlags::toggle(settings::SettingsStore& store, ListOption option) {
    bool value = !isOn(option);
    set(option, value);
    for (const auto& info : listOptionTable())
        if (info.option == option)
            settings::SetRegDword(store, kSettingsKey, info.valueName, value);
}

}  // namespace modshelf::gui
