#include "support/ui/LayoutMemory.h"

#include <QStringList>
#include <string>

#include "support/Settings.h"

namespace hivora {
namespace {

constexpr std::string_view kSection = "Layout";

}  // namespace

void SaveLayoutBytes(std::string_view entry, const QByteArray& bytes) {
    AppSettings().WriteProfileString(kSection, entry, bytes.toBase64().toStdString());
}

QByteArray LoadLayoutBytes(std::string_view entry) {
    const std::string text = AppSettings().GetProfileString(kSection, entry);
    return QByteArray::fromBase64(QByteArray::fromStdString(text));
}

void SaveLayoutNumbers(std::string_view entry, const QList<int>& numbers) {
    QStringList texts;
    for (int number : numbers) {
        texts.push_back(QString::number(number));
    }
    AppSettings().WriteProfileString(kSection, entry, texts.join(QLatin1Char(',')).toStdString());
}

QList<int> LoadLayoutNumbers(std::string_view entry, int count) {
    const QStringList texts = QString::fromStdString(AppSettings().GetProfileString(kSection, entry))
                                  .split(QLatin1Char(','), Qt::SkipEmptyParts);
    QList<int> numbers;
    for (const QString& text : texts) {
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok || number <= 0) {
            return {};
        }
        numbers.push_back(number);
    }
    return numbers.size() == count ? numbers : QList<int>{};
}

}  // namespace hivora
