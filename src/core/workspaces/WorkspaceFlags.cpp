#include "core/workspaces/WorkspaceFlags.h"

#include <algorithm>

#include "core/settings/SettingsStore.h"
#include "core/tree/NodeKinds.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::workspaces {

namespace {

constexpr ActivationCategory kCategories[] = {
    ActivationCategory::Bibles, ActivationCategory::Commentaries, ActivationCategory::Dictionaries};

// Walks a sorted list of flags and a sorted list of other items together.
template <typename Item, typename KeyOf, typename Visit>
void mergeWalk(const std::vector<ModuleFlag>& flags, const std::vector<Item>& items, KeyOf keyOf,
               Visit visit) {
    std::size_t i = 0, j = 0;
    while (i < flags.size() || j < items.size()) {
        if (j == items.size() ||
            (i < flags.size() && moduleLess(flags[i].module, keyOf(items[j])))) {
            visit(&flags[i++], nullptr);
        } else if (i == flags.size() || moduleLess(keyOf(items[j]), flags[i].module)) {
            visit(nullptr, &items[j++]);
        } else {
            visit(&flags[i++], &items[j++]);
        }
    }
}

}  // namespace

bool moduleLess(const ModuleRef& a, const ModuleRef& b) {
    if (a.category != b.category) return a.category < b.category;
    return settings::compareNoCase(a.tabName, b.tabName) < 0;
}

bool sameModule(const ModuleRef& a, const ModuleRef& b) {
    return a.category == b.category && settings::equalsNoCase(a.tabName, b.tabName);
}

std::vector<ModuleFlag> readWorkspaceFlags(settings::SettingsStore& store, int slot) {
    using settings::kSuccess;
    using settings::RegRoot;
    std::vector<ModuleFlag> flags;
    for (ActivationCategory category : kCategories) {
        const std::string path = moduleDataKeyPath(slot, category);
        std::vector<settings::RegNamedValue> values;
        if (path.empty() || store.enumValues(RegRoot::CurrentUser, path, values) != kSuccess)
            continue;
        for (const settings::RegNamedValue& v : values)
            if (!v.name.empty())  // the key's default value names no module
                flags.push_back({{category, v.name}, isActiveText(v.value.text())});
    }
    std::stable_sort(flags.begin(), flags.end(), [](const ModuleFlag& a, const ModuleFlag& b) {
        return moduleLess(a.module, b.module);
    });
    return flags;
}

std::vector<ModuleRef> activeModules(const std::vector<ModuleFlag>& flags) {
    std::vector<ModuleRef> active;
    for (const ModuleFlag& flag : flags)
        if (flag.active) active.push_back(flag.module);
    return active;
}

SetDifference compareActiveSets(const std::vector<ModuleFlag>& first,
                                const std::vector<ModuleFlag>& second) {
    SetDifference difference;
    const std::vector<ModuleRef> a = activeModules(first);
    const std::vector<ModuleRef> b = activeModules(second);
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(),
                        std::back_inserter(difference.onlyInFirst), moduleLess);
    std::set_difference(b.begin(), b.end(), a.begin(), a.end(),
                        std::back_inserter(difference.onlyInSecond), moduleLess);
    return difference;
}

ActivationPreview previewActivation(const std::vector<ListRow>& rows,
                                    const std::vector<ModuleFlag>& current) {
    struct Planned {
        ModuleRef module;
        bool active;
    };
    std::vector<Planned> planned;
    for (const ListRow& row : rows)
        if (isActivationRow(row))
            planned.push_back({{activationCategory(row.typeName), row.tabName}, row.checked});
    // The list may name a module twice (two files, one tab name): the last
    // write wins, as it does when activating.
    std::stable_sort(planned.begin(), planned.end(), [](const Planned& a, const Planned& b) {
        return moduleLess(a.module, b.module);
    });
    std::vector<Planned> unique;
    for (const Planned& p : planned) {
        if (!unique.empty() && sameModule(unique.back().module, p.module))
            unique.back() = p;
        else
            unique.push_back(p);
    }

    ActivationPreview preview;
    mergeWalk(
        current, unique, [](const Planned& p) -> const ModuleRef& { return p.module; },
        [&preview](const ModuleFlag* now, const Planned* next) {
            if (!next) return;  // not listed: activation leaves it alone
            const bool activeNow = now && now->active;
            if (next->active && !activeNow)
                preview.turnedOn.push_back(next->module);
            else if (!next->active && activeNow)
                preview.turnedOff.push_back(next->module);
            else
                ++preview.unchanged;
        });
    return preview;
}

std::string categoryTypeName(ActivationCategory category) {
    if (category == ActivationCategory::None) return {};
    for (const modules::ModuleKindInfo& info : modules::moduleKindTable())
        if (info.category == category) return std::string(info.listTypeName);
    return {};
}

}  // namespace modshelf::workspaces
