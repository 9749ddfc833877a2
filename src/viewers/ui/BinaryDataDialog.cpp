#include "viewers/ui/BinaryDataDialog.h"

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include <fmt/format.h>

#include "support/TextBuffer.h"
#include "support/ThousandsFormat.h"
#include "support/ui/UiServices.h"
#include "values/ValueFormat.h"
#include "viewers/BinaryDump.h"
#include "viewers/DataInterpreter.h"
#include "viewers/ViewerSupport.h"
#include "viewers/ui/ReportErrors.h"
#include "support/ui/SaveFileName.h"

namespace hivora {

namespace {

QFont DumpFont() {
    QFont font(QStringLiteral("Courier"));
    font.setPixelSize(14);
    font.setWeight(QFont::Normal);
    // Where there is no Courier, any fixed-pitch face keeps the columns.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QTableWidget* NewInterpreterTable() {
    const std::vector<InterpretedRow> rows = InterpretBytes({}, 0);
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 2);
    table->setHorizontalHeaderLabels({QStringLiteral("Read as"), QStringLiteral("Value")});
    table->verticalHeader()->hide();
    // Compact rows, so every reading fits the window's height without scrolling.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    for (int row = 0; row < table->rowCount(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(ToQString(rows[row].label)));
        table->setItem(row, 1, new QTableWidgetItem);
    }
    table->resizeColumnToContents(0);
    table->setMinimumWidth(400);
    return table;
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

    offsetEdit_ = new QLineEdit;
    offsetEdit_->setPlaceholderText(QStringLiteral("32, 0x20 or 20h"));
    // Enter in the offset field reads the offset; it must not reach the Close button.
    offsetEdit_->installEventFilter(this);
    offsetNote_ = new QLabel;
    interpreter_ = NewInterpreterTable();

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

    auto* top = new QVBoxLayout;
    top->addWidget(keyLabel);
    top->addWidget(keyPath_);
    top->addWidget(nameLabel_);
    top->addLayout(nameRow);
    top->addWidget(dataLabel_);
    top->addLayout(dumpRow, 1);

    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(new QLabel(QStringLiteral("Offset")));
    offsetRow->addWidget(offsetEdit_, 1);
    auto* panel = new QVBoxLayout;
    panel->addLayout(offsetRow);
    panel->addWidget(offsetNote_);
    panel->addWidget(interpreter_, 1);

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(top, 1);
    columns->addLayout(panel);

    connect(copyName_, &QPushButton::clicked, this, [this] { CopyTextToClipboard(value_.name); });
    connect(copyDump_, &QPushButton::clicked, this, [this] { CopyTextToClipboard(dumpText_); });
    connect(saveDump_, &QPushButton::clicked, this,
            [this] { RunReportingErrors(this, [this] { SaveDump(); }); });
    connect(export_, &QPushButton::clicked, this,
            [this] { RunReportingErrors(this, [this] { ExportBytes(); }); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int line) {
        if (line >= 0) {
            InterpretAt(static_cast<size_t>(line) * kDumpBytesPerLine);
        }
    });
    connect(offsetEdit_, &QLineEdit::editingFinished, this, &BinaryDataDialog::OffsetTyped);

    resize(1180, 460);
    FillDump();
    InterpretAt(0);
}

bool BinaryDataDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == offsetEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OffsetTyped();
            return true;
        }
    }
    return ViewerWindow::eventFilter(watched, event);
}

void BinaryDataDialog::InterpretAt(size_t offset) {
    offset_ = offset;
    const std::vector<InterpretedRow> rows =
        InterpretBytes({value_.data.GetData(), value_.data.GetSize()}, offset);
    for (size_t row = 0; row < rows.size(); ++row) {
        interpreter_->item(static_cast<int>(row), 1)->setText(ToQString(rows[row].text));
    }
    offsetEdit_->setText(ToQString(fmt::format("0x{:04X}", offset)));
    offsetNote_->setText(ToQString(
        offset < value_.data.GetSize()
            ? fmt::format("Byte {} of {}", offset, value_.data.GetSize())
            : fmt::format("Past the end of the {} bytes", value_.data.GetSize())));
    SelectDumpLine(offset);
}

void BinaryDataDialog::OffsetTyped() {
    if (const auto offset = ParseOffsetText(offsetEdit_->text().toStdString())) {
        InterpretAt(*offset);
    } else {
        offsetNote_->setText(QStringLiteral("Not an offset: type 32, 0x20 or 20h"));
    }
}

// Every mode puts the same bytes on a line, so the line holding the offset is the same in all.
void BinaryDataDialog::SelectDumpLine(size_t offset) {
    const QSignalBlocker blocker(list_);
    const size_t line = offset / kDumpBytesPerLine;
    if (offset < value_.data.GetSize() && line < static_cast<size_t>(list_->count())) {
        list_->setCurrentRow(static_cast<int>(line));
        list_->scrollToItem(list_->currentItem());
    } else {
        list_->setCurrentRow(-1);
    }
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
    {
        // The refilled list keeps the interpreter's offset, whatever line Qt makes current.
        const QSignalBlocker blocker(list_);
        list_->clear();
        list_->addItems(items);
    }
    // The list is never narrower than its longest line: a dump line is read whole.
    int widest = 0;
    for (const QString& item : std::as_const(items).first(std::min<qsizetype>(items.size(), 2))) {
        widest = std::max(widest, list_->fontMetrics().horizontalAdvance(item));
    }
    list_->setMinimumWidth(widest + list_->verticalScrollBar()->sizeHint().width() +
                           2 * list_->frameWidth() + 4 * list_->spacing() + 8);
    SelectDumpLine(offset_);
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
