#include "viewers/ui/ValueDataDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "navigate/NavigateTo.h"
#include "support/TextBuffer.h"
#include "support/ui/UiServices.h"
#include "values/ValueFormat.h"
#include "viewers/ViewerSupport.h"
#include "viewers/ui/ReportErrors.h"
#include "support/ui/SaveFileName.h"

namespace hivora {

ValueDataDialog::ValueDataDialog(const std::string& keyPath, const ValueItem& value,
                                 QWidget* parent, KeySelector selectKey)
    : ViewerWindow(parent), value_(value), keyPathText_(keyPath), selectKey_(std::move(selectKey)) {
    setWindowTitle(ToQString(value_.name));
    dataText_ = FormatValueData(value_, true);
    target_ = ResolveNavigationTarget(dataText_);

    auto* keyLabel = new QLabel(QStringLiteral("Containing Key Name"));
    keyPath_ = ReadOnlyLine(keyPathText_);
    nameLabel_ = new QLabel(
        QStringLiteral("Value Name (%1)").arg(QString::fromUtf8(GetValueTypeName(value_.type))));
    name_ = ReadOnlyLine(value_.name);
    copyName_ = new QPushButton(QStringLiteral("Copy"));
    data_ = new QPlainTextEdit(ToQString(dataText_));
    data_->setReadOnly(true);
    data_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    data_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    copyData_ = new QPushButton(QStringLiteral("Copy"));
    save_ = new QPushButton(QStringLiteral("Save in File..."));
    navigate_ = new QPushButton(QStringLiteral("Navigate To"));
    close_ = new QPushButton(QStringLiteral("Close"));
    close_->setDefault(true);
    navigate_->setEnabled(target_.kind != NavigationTarget::Kind::None);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(name_, 1);
    nameRow->addWidget(copyName_);
    auto* dataButtons = new QVBoxLayout;
    dataButtons->addWidget(copyData_);
    dataButtons->addStretch(1);
    auto* dataRow = new QHBoxLayout;
    dataRow->addWidget(data_, 1);
    dataRow->addLayout(dataButtons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(save_);
    bottom->addWidget(navigate_);
    bottom->addStretch(1);
    bottom->addWidget(close_);

    auto* top = new QVBoxLayout(this);
    top->addWidget(keyLabel);
    top->addWidget(keyPath_);
    top->addWidget(nameLabel_);
    top->addLayout(nameRow);
    top->addWidget(new QLabel(QStringLiteral("Value Data")));
    top->addLayout(dataRow, 1);
    top->addLayout(bottom);

    connect(copyName_, &QPushButton::clicked, this, [this] { CopyTextToClipboard(value_.name); });
    connect(copyData_, &QPushButton::clicked, this, [this] { CopyTextToClipboard(dataText_); });
    connect(save_, &QPushButton::clicked, this,
            [this] { RunReportingErrors(this, [this] { SaveInFile(); }); });
    connect(navigate_, &QPushButton::clicked, this, &ValueDataDialog::NavigateTo);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    resize(420, 240 + (value_.type == REG_MULTI_SZ ? kMultiStringExtraHeight : 0));
}

void ValueDataDialog::SaveInFile() {
    const QString path =
        AskSaveFileName(this, QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*||"),
                        QStringLiteral("*.txt"));
    if (path.isEmpty()) {
        return;
    }
    SaveTextToFile(path.toStdString(), dataText_);
}

void ValueDataDialog::NavigateTo() {
    switch (target_.kind) {
        case NavigationTarget::Kind::File:
            OpenInExplorer(target_.target);
            break;
        case NavigationTarget::Kind::Key:
            if (selectKey_) {
                selectKey_(kLocalMachine, target_.target);
            }
            break;
        case NavigationTarget::Kind::None:
            break;
    }
}

bool ShowValueData(const std::string& keyPath, const ValueItem& value, QWidget* parent,
                   KeySelector selectKey) {
    if (!ValueTypeOf(value.type).opensDataWindow) {
        return false;
    }
    auto* window = new ValueDataDialog(keyPath, value, parent, std::move(selectKey));
    window->OpenAsViewer();
    return true;
}

}  // namespace hivora

#include "moc_ValueDataDialog.cpp"
