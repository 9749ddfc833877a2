#include "viewers/ui/BinaryDataDialog.h"

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "support/TextBuffer.h"
#include "support/ThousandsFormat.h"
#include "support/ui/UiServices.h"
#include "values/ValueFormat.h"
#include "viewers/BinaryDump.h"
#include "viewers/ViewerSupport.h"
#include "viewers/ui/ReportErrors.h"
#include "support/ui/SaveFileName.h"

namespace hivora {

namespace {

QLineEdit* ReadOnlyLine(const std::string& text) {
    auto* edit = new QLineEdit(ToQString(text));
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

QFont DumpFont() {
    QFont font(QStringLiteral("Courier"));
    font.setPixelSize(14);
    font.setWeight(QFont::Normal);
    // Where there is no Courier, any fixed-pitch face keeps the columns.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

BinaryDataDialog::BinaryDataDialog(const std::string& keyPath, const ValueItem& value,
                                   QWidget* parent)
    : ViewerWindow(parent), value_(value), keyPathText_(keyPath) {
    setWindowTitle(ToQString(value_.name));

    auto* keyLabel = new QLabel(QStringLiteral("Containing Key Name"));
    keyPath_ = ReadOnlyLine(keyPathText_);
    nameLabel_ = new QLabel(
        QStringLiteral("Value Name (%1)").arg(QString::fromUtf8(GetValueTypeName(value_.type))));
    name_ = ReadOnlyLine(value_.name);
    copyName_ = new QPushButton(QStringLiteral("Copy"));
    dataLabel_ = new QLabel(QStringLiteral("Value Data (%1 bytes)")
                                .arg(ToQString(FormatThousands(value_.data.GetSize()))));
    list_ = new QListWidget;
    list_->setFont(DumpFont());
    list_->setUniformItemSizes(true);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setSortingEnabled(false);

    modes_[kBytes] = new QRadioButton(QStringLiteral("Byte"));
    modes_[kWords] = new QRadioButton(QStringLiteral("Word"));
    modes_[kDoubleWords] = new QRadioButton(QStringLiteral("DWord"));
    auto* group = new QButtonGroup(this);
    for (int mode = kBytes; mode <= kDoubleWords; ++mode) {
        group->addButton(modes_[mode], mode);
    }
    modes_[kBytes]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, &BinaryDataDialog::SetMode);

    copyDump_ = new QPushButton(QStringLiteral("Copy"));
    saveDump_ = new QPushButton(QStringLiteral("Save Dump"));
    export_ = new QPushButton(QStringLiteral("Export"));
    close_ = new QPushButton(QStringLiteral("Close"));
    close_->setDefault(true);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(name_, 1);
    nameRow->addWidget(copyName_);
    auto* side = new QVBoxLayout;
    for (QRadioButton* button : modes_) {
        side->addWidget(button);
    }
    side->addSpacing(12);
    side->addWidget(copyDump_);
    side->addWidget(saveDump_);
    side->addWidget(export_);
    side->addStretch(1);
    side->addWidget(close_);
    auto* dumpRow = new QHBoxLayout;
    dumpRow->addWidget(list_, 1);
    dumpRow->addLayout(side);

    auto* top = new QVBoxLayout(this);
    top->addWidget(keyLabel);
    top->addWidget(keyPath_);
    top->addWidget(nameLabel_);
    top->addLayout(nameRow);
    top->addWidget(dataLabel_);
    top->addLayout(dumpRow, 1);

    connect(copyName_, &QPushButton::clicked, this, [this] { CopyTextToClipboard(value_.name); });
    connect(copyDump_, &QPushButton::clicked, this, [this] { CopyTextToClipboard(dumpText_); });
    connect(saveDump_, &QPushButton::clicked, this,
            [this] { RunReportingErrors(this, [this] { SaveDump(); }); });
    connect(export_, &QPushButton::clicked, this,
            [this] { RunReportingErrors(this, [this] { ExportBytes(); }); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    resize(760, 420);
    FillDump();
}

void BinaryDataDialog::SetMode(int mode) {
    if (mode < kBytes || mode > kDoubleWords) {
        return;
    }
    mode_ = mode;
    modes_[mode]->setChecked(true);
    FillDump();
}

void BinaryDataDialog::FillDump() {
    hivora::DumpText dump = hivora::FillDump(value_.data.GetData(), value_.data.GetSize(),
                                             static_cast<hivora::DumpMode>(mode_));
    QStringList items;
    items.reserve(static_cast<qsizetype>(dump.lines.size()));
    for (const std::string& line : dump.lines) {
        items << ToQString(line);
    }
    dumpText_ = std::move(dump.text);
    list_->clear();
    list_->addItems(items);
    // The list is never narrower than its longest line: a dump line is read whole.
    int widest = 0;
    for (const QString& item : std::as_const(items).first(std::min<qsizetype>(items.size(), 2))) {
        widest = std::max(widest, list_->fontMetrics().horizontalAdvance(item));
    }
    list_->setMinimumWidth(widest + list_->verticalScrollBar()->sizeHint().width() +
                           2 * list_->frameWidth() + 4 * list_->spacing() + 8);
}

void BinaryDataDialog::SaveDump() {
    const QString path =
        AskSaveFileName(this, QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*||"),
                        QStringLiteral("*.txt"));
    if (!path.isEmpty()) {
        SaveTextToFile(path.toStdString(), dumpText_);
    }
}

void BinaryDataDialog::ExportBytes() {
    const QString path =
        AskSaveFileName(this, QStringLiteral("Data File (*.dat)|*.dat|All Files (*.*)|*.*||"),
                        QStringLiteral("*.dat"));
    if (!path.isEmpty()) {
        value_.data.SaveToFile(path.toStdString());
    }
}

void ShowBinaryData(const std::string& keyPath, const ValueItem& value, QWidget* parent) {
    auto* window = new BinaryDataDialog(keyPath, value, parent);
    window->OpenAsViewer();
}

}  // namespace hivora

#include "moc_BinaryDataDialog.cpp"
