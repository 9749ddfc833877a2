#include "support/ui/SaveFileName.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace hivora {

namespace {

FileNameAsker& InstalledAsker() {
    static FileNameAsker asker;
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

void SetFileNameAsker(FileNameAsker asker) {
    InstalledAsker() = std::move(asker);
}

QString AskSaveFileName(QWidget* parent, const QString& filter, const QString& defaultExtension) {
    if (InstalledAsker()) {
        return InstalledAsker()(parent, true, filter, defaultExtension);
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilterFromPairs(filter));
    QString suffix = defaultExtension;
    suffix.remove(QStringLiteral("*")).remove(QLatin1Char('.'));
    dialog.setDefaultSuffix(suffix);
    // A typed name without extension takes the chosen filter's (its first pattern), so the
    // filter decides what kind of file is written; "All Files" keeps the default one.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffix](const QString& chosen) {
                         const QString pattern = chosen.section(QLatin1Char('('), 1)
                                                     .section(QLatin1Char(')'), 0, 0)
                                                     .section(QLatin1Char(' '), 0, 0);
                         const QString extension = pattern.section(QLatin1String("*."), 1);
                         dialog.setDefaultSuffix(extension.isEmpty() || extension == QLatin1String("*")
                                                     ? suffix
                                                     : extension);
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString AskOpenFileName(QWidget* parent, const QString& filter) {
    if (InstalledAsker()) {
        return InstalledAsker()(parent, false, filter, QString());
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QtFilterFromPairs(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace hivora
