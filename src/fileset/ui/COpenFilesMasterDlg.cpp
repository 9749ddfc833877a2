#include "fileset/ui/COpenFilesMasterDlg.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fileset/FileSetDescription.h"
#include "fileset/FileSetRules.h"
#include "fileset/ui/CChooseFilesDlg.h"
#include "hive/RegistryBackend.h"
#include "support/MyException.h"
#include "support/Version.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

constexpr int kUseLocalRegistry = 1084;
constexpr int kSelectHiveFolder = 1077;
constexpr int kSelectUserFolder = 1078;
constexpr int kReopenLast = 1079;
constexpr int kChooseManually = 1080;
constexpr int kReset = 1082;
constexpr int kContinue = 1;
constexpr int kHelp = 1023;
constexpr int kCancel = 2;
// Where the "Apply transaction logs" choice is remembered.
constexpr std::string_view kLogsSection = "Settings";
constexpr std::string_view kApplyLogsEntry = "ApplyTransactionLogs";

// The folder picker the scans ask, answered by the dialog's chooser.
class ChooserPicker : public FolderPicker {
public:
    explicit ChooserPicker(const COpenFilesMasterDlg::FolderChooser& chooser) : chooser_(chooser) {}
    std::string BrowseForFolder(const std::string& title) override { return chooser_(title); }

private:
    const COpenFilesMasterDlg::FolderChooser& chooser_;
};

QLabel* WrappedText(const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setWordWrap(true);
    return label;
}

}  // namespace

COpenFilesMasterDlg::COpenFilesMasterDlg(SettingsStore& settings, Prompter& prompter,
                                         QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Open Registry Files Master"));
    setObjectName(QStringLiteral("COpenFilesMasterDlg"));
    pickFolder_ = [this](const std::string& title) {
        return ToStdString(QFileDialog::getExistingDirectory(this, ToQString(title)));
    };
    chooseFiles_ = [this](QWidget* owner) {
        CChooseFilesDlg dialog(settings_, prompter_, owner);
        return dialog.exec() == QDialog::Accepted;
    };

    auto makeButton = [this](const QString& text, int id) {
        auto* button = new QPushButton(text);
        button->setObjectName(QStringLiteral("button%1").arg(id));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id] { RunButton(id); });
        return button;
    };

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout();
    // Created hidden: on this platform there is no live registry to switch to.
    QPushButton* local = makeButton(QStringLiteral("Use Local Registry"), kUseLocalRegistry);
    local->setVisible(false);
    top->addWidget(local);
    heading_ = new QLabel(QStringLiteral("Welcome to %1").arg(ToQString(GetVersionText(2))));
    heading_->setAlignment(Qt::AlignCenter);
    ApplyHeadingFont(heading_);
    top->addWidget(heading_, 1);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(WrappedText(
        "Hivora is similar to the RegEdit, but it works with standalone registry files. While "
        "RegEdit shows the contents of the system registry, Hivora works with registry files "
        "copied from other computers."));
    layout->addWidget(WrappedText(
        "Please specify registry files to view. You should specify at least one registry file "
        "to proceed. You can omit one or more files, however, if you do, the corresponding "
        "registry keys will not be available."));

    description_ = new QPlainTextEdit();
    description_->setObjectName(QStringLiteral("edit1063"));
    description_->setReadOnly(true);
    description_->setLineWrapMode(QPlainTextEdit::NoWrap);
    description_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(description_, 1);

    // On unless the user turned it off before, or the command line said --no-logs.
    applyLogs_ = new QCheckBox(QStringLiteral("Apply transaction logs"));
    applyLogs_->setObjectName(QStringLiteral("applyLogs"));
    applyLogs_->setChecked(CurrentFileSet().applyLogs &&
                           settings_.GetProfileInt(kLogsSection, kApplyLogsEntry, 1) != 0);
    connect(applyLogs_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.WriteProfileInt(kLogsSection, kApplyLogsEntry, on ? 1 : 0);
    });
    layout->addWidget(applyLogs_);

    auto* fill = new QHBoxLayout();
    fill->addWidget(
        makeButton(QStringLiteral("Select Folder with Registry Files"), kSelectHiveFolder));
    fill->addWidget(makeButton(QStringLiteral("Select NT User Folder"), kSelectUserFolder));
    fill->addWidget(makeButton(QStringLiteral("Re-open Last File Set"), kReopenLast));
    fill->addWidget(makeButton(QStringLiteral("Choose Files Manually"), kChooseManually));
    fill->addWidget(makeButton(QStringLiteral("Reset"), kReset));
    layout->addLayout(fill);

    auto* bottom = new QHBoxLayout();
    QPushButton* proceed = makeButton(QStringLiteral("&Continue"), kContinue);
    proceed->setDefault(true);
    bottom->addStretch(1);
    bottom->addWidget(proceed);
    bottom->addWidget(makeButton(QStringLiteral("&Help"), kHelp));
    bottom->addWidget(makeButton(QStringLiteral("Cancel"), kCancel));
    bottom->addStretch(1);
    layout->addLayout(bottom);

    Refresh();
    // Decided once per run of the dialog.
    Button(kReopenLast)->setEnabled(HasLastFileSet(settings_));

    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 442 / 4, metrics.height() * 344 / 8);
    FitOnScreen(this, nullptr, false);
}

QPushButton* COpenFilesMasterDlg::Button(int id) const {
    return findChild<QPushButton*>(QStringLiteral("button%1").arg(id));
}

QString COpenFilesMasterDlg::Heading() const {
    return heading_->text();
}

QString COpenFilesMasterDlg::Description() const {
    return description_->toPlainText();
}

void COpenFilesMasterDlg::Refresh() {
    description_->setPlainText(
        MessageText(DescribeFileSet(CurrentFileSet(), DialogDateTime, true)));
}

void COpenFilesMasterDlg::RunButton(int id) {
    ChooserPicker picker(pickFolder_);
    try {
        switch (id) {
            case kSelectHiveFolder:
                ScanHiveFolder(CurrentFileSet(), picker);
                Refresh();
                break;
            case kSelectUserFolder:
                ScanUserFolder(CurrentFileSet(), picker);
                Refresh();
                break;
            case kReopenLast:
                RestoreLastFileSet(CurrentFileSet(), settings_);
                Refresh();
                break;
            case kChooseManually:
                if (chooseFiles_(this)) {
                    Refresh();
                }
                break;
            case kReset:
                ClearFileSet(CurrentFileSet());
                Refresh();
                break;
            case kHelp:
                OpenHelp(prompter_, this);
                break;
            case kContinue:
                CurrentFileSet().applyLogs = applyLogs_->isChecked();
                if (ConfirmFileSet(CurrentFileSet(), prompter_, settings_)) {
                    accept();
                }
                break;
            case kUseLocalRegistry:
                if (prompter_.AskYesNo(
                        "In Local Registry mode Hivora uses local system registry and works "
                        "like standard Regedit. You may want to use this mode if you like "
                        "Hivora enhancements such as fast search and navigation.\r\n\r\nAre "
                        "you sure you want to switch to the Local Registry Mode?")) {
                    UseLiveRegistry();
                    accept();
                }
                break;
            case kCancel:
                reject();
                break;
            default:
                break;
        }
    } catch (const CMyException& error) {
        prompter_.ShowError(error.GetErrorMessage());
    }
}

}  // namespace hivora
