#include "dialogs/WorldTimeDialog.h"

#include <utility>
#include <vector>

#include "dialogs/DialogIds.h"

namespace lumi::dialogs {

namespace {

DaylightSaving DstFrom(const Controls& controls, int id) {
    return controls.Checked(id) ? DaylightSaving::Yes : DaylightSaving::No;
}

}  // namespace

WorldTimeDialog::WorldTimeDialog(std::string message, std::string bottomLine)
    : message_(std::move(message)), bottomLine_(std::move(bottomLine)) {}

void WorldTimeDialog::Open(Controls& controls) {
    std::vector<std::string> names;
    names.reserve(kZoneCount);
    for (int i = 0; i < kZoneCount; ++i) names.emplace_back(ZoneAt(i)->name);
    controls.SetItems(IDC_WORLD_LOCAL, names);
    controls.SetItems(IDC_WORLD_WATCHED, names);

    // Logs the number of zones and what it read back from the keyword.
    const WorldTimeChoice choice = OpenWorldTimeDialog(message_, bottomLine_);
    controls.SetSelection(IDC_WORLD_LOCAL, choice.localZone);
    controls.SetSelection(IDC_WORLD_WATCHED, choice.watchedZone);
    controls.SetChecked(IDC_WORLD_LOCAL_DST, choice.localDst == DaylightSaving::Yes);
    controls.SetChecked(IDC_WORLD_WATCHED_DST, choice.watchedDst == DaylightSaving::Yes);
    controls.SetText(IDC_WORLD_BOTTOMLINE, choice.bottomLine);
}

void WorldTimeDialog::Command(Controls& controls, int id) {
    if (id == IDC_CANCEL) {
        controls.End(0);
        return;
    }
    if (id != IDC_OK) return;
    WorldTimeChoice choice;
    choice.localZone = controls.Selection(IDC_WORLD_LOCAL);
    choice.localDst = DstFrom(controls, IDC_WORLD_LOCAL_DST);
    choice.watchedZone = controls.Selection(IDC_WORLD_WATCHED);
    choice.watchedDst = DstFrom(controls, IDC_WORLD_WATCHED_DST);
    choice.bottomLine = controls.Text(IDC_WORLD_BOTTOMLINE);
    result_ = ConfirmWorldTimeDialog(choice);
    controls.End(1);
}

}  // namespace lumi::dialogs
