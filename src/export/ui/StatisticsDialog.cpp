#include "export/ui/StatisticsDialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

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
    // Tall enough for the whole text, the counts at its end included, where the screen allows.
    const QFontMetrics metrics(text_->font());
    int widest = 0;
    for (const QString& line : text_->toPlainText().split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int lines = text_->document()->blockCount() + 1;
    resize(QSize(widest + 80, metrics.lineSpacing() * lines + 100).expandedTo(QSize(640, 440)));
    FitOnScreen(this, nullptr, false);
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
