#include "app/toolbar_layout.h"

#include <QStringList>
#include <algorithm>
#include <set>

#include "app/command_table.h"
#include "app/look_settings.h"
#include "app/program_settings.h"

namespace {

constexpr const char* kToolbarKey = "StandardToolbar";

bool IsToolbarCommand(int id) {
    const std::vector<int>& commands = StandardToolbarCommands();
    return id != 0 && std::find(commands.begin(), commands.end(), id) != commands.end();
}

}  // namespace

ToolbarLayout DefaultToolbarLayout() {
    ToolbarLayout layout;
    for (int id : StandardToolbarCommands()) layout.push_back({id, true});
    return layout;
}

ToolbarLayout NormalizedToolbarLayout(const ToolbarLayout& stored) {
    ToolbarLayout layout;
    std::set<int> placed;
    for (const ToolbarSlot& slot : stored) {
        if (slot.id == 0 || (IsToolbarCommand(slot.id) && placed.insert(slot.id).second))
            layout.push_back(slot);
    }
    for (int id : StandardToolbarCommands())
        if (id != 0 && !placed.count(id)) layout.push_back({id, true});
    return layout;
}

// Stored as a list of numbers: the command id, negative when hidden, 0 for a
// shown separator and -1 for a hidden one.
ToolbarLayout ReadToolbarLayout() {
    const QVariant value = ProgramSettings().value(QLatin1String(kToolbarKey));
    if (!value.isValid()) return DefaultToolbarLayout();
    ToolbarLayout stored;
    for (const QString& item : value.toStringList()) {
        bool ok = false;
        const int number = item.toInt(&ok);
        if (!ok) continue;
        if (number == 0 || number == -1)
            stored.push_back({0, number == 0});
        else
            stored.push_back({std::abs(number), number > 0});
    }
    return NormalizedToolbarLayout(stored);
}

void WriteToolbarLayout(const ToolbarLayout& layout) {
    QStringList items;
    for (const ToolbarSlot& slot : layout) {
        const int number = slot.id == 0 ? (slot.shown ? 0 : -1) : (slot.shown ? slot.id : -slot.id);
        items << QString::number(number);
    }
    QSettings store = ProgramSettings();
    store.setValue(QLatin1String(kToolbarKey), items);
    store.sync();
}
