#include "export/ui/BusyWork.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <exception>
#include <thread>

#include "support/ui/UiServices.h"

namespace hivora {

BusyDialog::BusyDialog(const QString& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(MessageCaption());
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* label = new QLabel(text);
    auto* bar = new QProgressBar;
    bar->setRange(0, 0);
    auto* top = new QVBoxLayout(this);
    top->addWidget(label);
    top->addWidget(bar);
    resize(360, sizeHint().height());
    connect(
        this, &BusyDialog::WorkDone, this,
        [this] {
            done_ = true;
            accept();
        },
        Qt::QueuedConnection);
}

void BusyDialog::closeEvent(QCloseEvent* event) {
    if (!done_) {
        event->ignore();
    }
}

void RunBusy(QWidget* parent, const QString& text, const std::function<void()>& work) {
    BusyDialog dialog(text, parent);
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        emit dialog.WorkDone();
    });
    dialog.exec();
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace hivora

#include "moc_BusyWork.cpp"
