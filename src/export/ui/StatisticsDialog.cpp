#include "export/ui/StatisticsDialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "export/RegistryCounters.h"
#include "export/ui/BusyWork.h"
#include "support/ui/UiServices.h"

namespace hivora {

StatisticsDialog::StatisticsDialog(const std::string& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Statistics"));
    text_ = new QPlainTextEdit(MessageText(text));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* top = new QVBoxLayout(this);
    top->addWidget(text_, 1);
    top->addWidget(buttons);
    resize(640, 440);
}

void RunStatistics(QWidget* parent) {
    WaitCursor wait;
    RunBusy(parent, QStringLiteral("Counting the keys and values of the registry..."),
            [] { CountRegistry(); });
    StatisticsDialog dialog(FormatStatisticsText(Counters(), DialogDateTime), parent);
    dialog.exec();
}

}  // namespace hivora

#include "moc_StatisticsDialog.cpp"
