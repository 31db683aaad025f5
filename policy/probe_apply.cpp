#include "policy/probe_apply.h"

namespace p2pb {
namespace {

bool governedByTickedRow(std::string_view name, const Selection& selection) {
    for (const BlockEntry& entry : kCatalogue) {
        if (!selection[entry.position - 1]) continue;
        for (const BlockValue& value : entry.valueList()) {
            if (sameName(name, value.name)) return true;
        }
    }
    return false;
}

}  // namespace

Selection probe(PolicyStore& store) {
    Selection found{};
    for (const BlockEntry& entry : kCatalogue) {
        const PathBuffer path = fullValuePath(entry.probeValue);
        found[entry.position - 1] = path.ok() && store.valueExists(path);
    }
    return found;
}

void applySelection(PolicyStore& store, const Selection& selection, Confirmation& confirmation) {
    for (const BlockEntry& entry : kCatalogue) {
        const bool ticked = selection[entry.position - 1];
        for (const BlockValue& value : entry.valueList()) {
            const PathBuffer path = fullValuePath(value.name);
            if (!path.ok()) continue;
            if (ticked) {
                store.writeValue(path, value.data);
            } else if (!governedByTickedRow(value.name, selection)) {
                store.deleteValue(path);
            }
        }
    }
    confirmation.show();
}

}  // namespace p2pb
