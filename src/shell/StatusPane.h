// The status bar's one pane: the selected key's path and date. A path too long for the pane
// loses its middle, never the date; the whole text is the pane's tooltip.
#pragma once

#include <QLabel>

namespace hivora {

class StatusPane : public QLabel {
public:
    explicit StatusPane(QWidget* parent);

    void SetFullText(const QString& text);
    const QString& FullText() const { return fullText_; }

    // Narrow enough never to widen the main window.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    QString fullText_;
};

}  // namespace hivora
