#include "export/ui/ExportCommand.h"

#include "export/RegistryCounters.h"
#include "export/RegistryExport.h"
#include "export/ui/BusyWork.h"
#include "support/ui/Prompter.h"
#include "support/ui/UiServices.h"
#include "support/ui/SaveFileName.h"

namespace hivora {

bool RunExport(QWidget* parent, ExportStyle style, const std::string& branch, Prompter& prompter) {
    const bool reg = style == ExportStyle::Reg;
    const QString path =
        AskSaveFileName(parent,
                        reg ? QStringLiteral("Text File (*.reg)|*.reg|All Files (*.*)|*.*||")
                            : QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*||"),
                        reg ? QStringLiteral("*.reg") : QStringLiteral("*.txt"));
    if (path.isEmpty()) {
        return false;
    }
    uint64_t milliseconds = 0;
    {
        WaitCursor wait;
        const std::string fileName = path.toStdString();
        RunBusy(parent, QStringLiteral("Exporting the registry..."),
                [&] { milliseconds = ExportRegistry(style, branch, fileName); });
    }
    prompter.ShowNotice(FormatExportCompletion(milliseconds, Counters()));
    return true;
}

}  // namespace hivora
