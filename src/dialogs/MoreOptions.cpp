#include "dialogs/MoreOptions.h"

#include <string>

#include "dialogs/AboutPage.h"
#include "dialogs/DialogIds.h"
#include "dialogs/MainDialog.h"
#include "dialogs/QuotesPage.h"
#include "dialogs/SoundsPage.h"
#include "dialogs/StarMessagesPage.h"
#include "dialogs/StartupPage.h"

namespace lumi::dialogs {

void RunMoreOptionsSheet(Controls& owner) {
    // The pages live while the sheet is up; each reads its settings when it opens.
    StarMessagesPage starMessages;
    SoundsPage sounds;
    QuotesPage quotes;
    StartupPage startup;
    AboutPage about;
    owner.RunSheet(std::string(SettingsCaption()) + " - Much More Options",
                   {
                       {IDD_STAR_MESSAGES, "Star Messages", &starMessages},
                       {IDD_SOUNDS, "Sounds", &sounds},
                       {IDD_QUOTES, "Quotes", &quotes},
                       {IDD_STARTUP, "Startup", &startup},
                       {IDD_ABOUT, "About", &about},
                   });
}

}  // namespace lumi::dialogs
