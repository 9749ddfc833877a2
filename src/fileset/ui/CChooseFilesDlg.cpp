#include "fileset/ui/CChooseFilesDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "fileset/FileSetRules.h"
#include "fileset/ui/ComboHistory.h"
#include "support/MyException.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

struct Row {
    const char* label;
    int comboId;
    int browseId;
    HiveSlot slot;
    const char* prefix;
    const char* extension;
    const char* autoFillName;  // nullptr: never filled from another row's folder
};

constexpr Row kRows[] = {
    {"User Registry File (User.dat in Windows 9x/ME, NTUSER.DAT in the newer Windows versions)",
     1019, 1012, HiveSlot::NtUser, "userfns", "dat", nullptr},
    {"System Registry File (SYSTEM.DAT in Windows 9x/ME, SYSTEM in the newer Windows versions)",
     1018, 1054, HiveSlot::System, "sysfns", "*", "system"},
    {"SOFTWARE Registry File", 1020, 1057, HiveSlot::Software, "softfns", "*", "software"},
    {"SAM Registry File", 1021, 1014, HiveSlot::Sam, "samfns", "*", "sam"},
    {"SECURITY Registry File", 1022, 1015, HiveSlot::Security, "secfns", "*", "security"},
    {".DEFAULT Registry File", 1024, 1062, HiveSlot::Default, "combo6", "*", "default"},
    {"COMPONENTS Registry File", 1051, 1026, HiveSlot::Components, "combo7", "*", "components"},
    {"BCD-TEMPLATE Registry File ", 1067, 1028, HiveSlot::Bcd, "combo8", "*", "bcd-template"},
};

// The order in which the history is read and written.
constexpr HiveSlot kHistoryOrder[] = {HiveSlot::System,     HiveSlot::NtUser,   HiveSlot::Software,
                                      HiveSlot::Sam,        HiveSlot::Security, HiveSlot::Default,
                                      HiveSlot::Components, HiveSlot::Bcd};

const Row& RowOf(HiveSlot slot) {
    return *std::find_if(std::begin(kRows), std::end(kRows),
                         [slot](const Row& row) { return row.slot == slot; });
}

std::string DefaultFilePicker(QWidget* parent, const std::string& current,
                              const std::string& extension) {
    // "*.*" would hide extension-less hive files here, so the registry filter is "*" except
    // for the user hive.
    const QString filter = extension == "dat"
                               ? QStringLiteral("Registry Files (*.dat *.DAT);;All Files (*)")
                               : QStringLiteral("Registry Files (*);;All Files (*)");
    return ToStdString(QFileDialog::getOpenFileName(parent, QString(), ToQString(current), filter));
}

}  // namespace

CChooseFilesDlg::CChooseFilesDlg(SettingsStore& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Choose Registry Files"));
    setObjectName(QStringLiteral("CChooseFilesDlg"));
    pickFile_ = [this](const std::string& current, const std::string& extension) {
        return DefaultFilePicker(this, current, extension);
    };

    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral(
        "Please specify registry files to view. You should specify at least one registry file "
        "to proceed. You can omit one or more files, however, if you do, the corresponding "
        "registry keys will not be available."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* note = new QLabel(QStringLiteral(
        "Normally NTUSER.dat is located in user's directory and all other files are located in "
        "\\Windows\\System32\\Config folder"));
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* grid = new QGridLayout();
    grid->setVerticalSpacing(2);
    int gridRow = 0;
    for (const Row& row : kRows) {
        auto* label = new QLabel(QString::fromUtf8(row.label));
        grid->addWidget(label, gridRow++, 0, 1, 2);
        auto* combo = new QComboBox();
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setObjectName(QStringLiteral("combo%1").arg(row.comboId));
        combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        auto* browse = new QPushButton(QStringLiteral("Browse"));
        browse->setObjectName(QStringLiteral("button%1").arg(row.browseId));
        browse->setAutoDefault(false);
        grid->addWidget(combo, gridRow, 0);
        grid->addWidget(browse, gridRow++, 1);
        label->setBuddy(combo);
        fields_[static_cast<size_t>(row.slot)] = combo;
        browse_[static_cast<size_t>(row.slot)] = browse;
        const HiveSlot slot = row.slot;
        connect(browse, &QPushButton::clicked, this, [this, slot] { Browse(slot); });
    }
    layout->addLayout(grid);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout();
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("button1"));
    ok->setDefault(true);
    auto* help = new QPushButton(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("button1023"));
    help->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("button2"));
    cancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(help);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &CChooseFilesDlg::accept);
    connect(help, &QPushButton::clicked, this, [this] { OpenHelp(prompter_, this); });
    connect(cancel, &QPushButton::clicked, this, &CChooseFilesDlg::reject);

    for (HiveSlot slot : kHistoryOrder) {
        const ComboHistory history = LoadComboHistory(settings_, RowOf(slot).prefix);
        QComboBox* combo = Field(slot);
        combo->clear();
        for (const std::string& item : history.items) {
            combo->addItem(ToQString(item));
        }
        combo->setEditText(ToQString(history.text));
    }

    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 387 / 4, metrics.height() * 300 / 8);
}

QComboBox* CChooseFilesDlg::Field(HiveSlot slot) const {
    return fields_[static_cast<size_t>(slot)];
}

QPushButton* CChooseFilesDlg::BrowseButton(HiveSlot slot) const {
    return browse_[static_cast<size_t>(slot)];
}

void CChooseFilesDlg::Browse(HiveSlot slot) {
    QComboBox* combo = Field(slot);
    const std::string picked = pickFile_(ToStdString(combo->currentText()), RowOf(slot).extension);
    if (picked.empty()) {
        return;
    }
    combo->setEditText(ToQString(picked));
    if (slot != HiveSlot::NtUser) {
        AutoFill(picked);
    }
}

void CChooseFilesDlg::AutoFill(const std::string& pickedPath) {
    std::string folder = pickedPath.substr(0, pickedPath.find_last_of('/') + 1);
    // A hive picked in a build's debug or release folder fills from the folder above it,
    // the same rule that finds files beside the program.
    std::string lower = folder;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (std::string_view tail : {std::string_view("/debug/"), std::string_view("/release/")}) {
        if (lower.size() >= tail.size() &&
            lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0) {
            folder.resize(folder.size() - tail.size() + 1);
            break;
        }
    }
    for (const Row& row : kRows) {
        if (row.autoFillName == nullptr) {
            continue;
        }
        QComboBox* combo = Field(row.slot);
        if (!combo->currentText().isEmpty()) {
            continue;
        }
        const std::string found = FindFileIgnoringCase(folder, row.autoFillName);
        if (!found.empty()) {
            combo->setEditText(ToQString(found));
        }
    }
}

void CChooseFilesDlg::accept() {
    FileSet names;
    for (const Row& row : kRows) {
        names[row.slot] = ToStdString(Field(row.slot)->currentText());
    }
    try {
        if (!ValidateChosenFiles(names.names, prompter_)) {
            return;
        }
    } catch (const CMyException& error) {
        prompter_.ShowError(error.GetErrorMessage());
        return;
    }
    CurrentFileSet() = names;
    for (HiveSlot slot : kHistoryOrder) {
        QComboBox* combo = Field(slot);
        std::vector<std::string> items;
        for (int i = 0; i < combo->count(); ++i) {
            items.push_back(ToStdString(combo->itemText(i)));
        }
        SaveComboHistory(settings_, RowOf(slot).prefix, names[slot], items);
    }
    QDialog::accept();
}

}  // namespace hivora
