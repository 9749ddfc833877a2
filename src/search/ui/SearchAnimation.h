// The Searching dialog's animation: nine 56 x 51 frames, one every 100 ms, on a transparent
// background, playing from the moment the widget is shown.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QVector>
#include <QWidget>

namespace hivora {

class SearchAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameCount = 9;
    static constexpr int kFrameWidth = 56;
    static constexpr int kFrameHeight = 51;
    static constexpr int kFrameMilliseconds = 100;

    explicit SearchAnimation(QWidget* parent = nullptr);

    int CurrentFrame() const { return frame_; }
    bool IsPlaying() const { return timer_.isActive(); }
    // The frames, drawn once per process.
    static const QVector<QPixmap>& Frames();

    QSize sizeHint() const override { return {kFrameWidth, kFrameHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer timer_;
    int frame_ = 0;
};

}  // namespace hivora
