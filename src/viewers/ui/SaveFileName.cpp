#include "viewers/ui/SaveFileName.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace hivora {

namespace {

SaveFileAsker& InstalledAsker() {
    static SaveFileAsker asker;
    return asker;
}

}  // namespace

QString QtFilterFromPairs(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        // Qt reads the patterns from the parentheses of the name; make sure they are there.
        names << (parts[i].contains(QLatin1Char('('))
                      ? parts[i]
                      : QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]));
    }
    return names.join(QStringLiteral(";;"));
}

void SetSaveFileAsker(SaveFileAsker asker) {
    InstalledAsker() = std::move(asker);
}

QString AskSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExtension) {
    if (InstalledAsker()) {
        return InstalledAsker()(parent, filter, defaultExtension);
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilterFromPairs(filter));
    QString suffix = defaultExtension;
    suffix.remove(QStringLiteral("*")).remove(QLatin1Char('.'));
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace hivora
