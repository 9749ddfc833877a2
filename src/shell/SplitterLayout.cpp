#include "shell/SplitterLayout.h"

#include <algorithm>

namespace hivora {

QRect SplitterLayout::Inner(const QRect& client) {
    return client.adjusted(3, 5, -3, -4);
}

QRect SplitterLayout::TreeRect(const QRect& client, int position) {
    const QRect inner = Inner(client);
    return QRect(inner.left(), inner.top(), position, inner.height());
}

QRect SplitterLayout::ListRect(const QRect& client, int position) {
    const QRect inner = Inner(client);
    const int left = inner.left() + position + kBarWidth;
    return QRect(left, inner.top(), inner.left() + inner.width() - left, inner.height());
}

QRect SplitterLayout::BarHitRect(const QRect& client, int position) {
    const QRect inner = Inner(client);
    return QRect(inner.left() + position, inner.top(), kBarWidth, inner.height());
}

int SplitterLayout::ClampDrag(int x, int clientWidth) {
    x = std::max(x, kDragMargin);
    return std::min(x, clientWidth - kDragMargin);
}

}  // namespace hivora
