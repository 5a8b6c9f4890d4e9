#include "platform/linux/screen_scale.h"

#include <cmath>
#include <cstdlib>

#include "platform/linux/string_table.h"
#include "res/resource.h"

namespace mirabo::platform {

namespace {

bool Fits(QSize available, QSize frame, QSize content, double scale) {
    auto scaled = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    return scaled(content.width()) + frame.width() <= available.width() &&
           scaled(content.height()) + frame.height() <= available.height();
}

// A scale as the user would write it: "2", "1.5", "3.25".
QString ScaleText(double scale) { return QString::number(scale, 'g', 6); }

}  // namespace

std::optional<double> AskedScale(const char* text, QString* problem) {
    if (text == nullptr || *text == '\0') return std::nullopt;
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value >= kSmallestAskedScale && value <= kLargestAskedScale)) {
        if (problem != nullptr) {
            *problem = FilledString(IDS_SCALE_NOT_A_SCALE,
                                    {QString::fromLocal8Bit(text), ScaleText(kSmallestAskedScale),
                                     ScaleText(kLargestAskedScale)});
        }
        return std::nullopt;
    }
    return value;
}

QSize FrameRoom(double devicePixelRatio) {
    double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    return QSize(static_cast<int>(std::ceil(kFrameWidth / ratio)),
                 static_cast<int>(std::ceil(kFrameHeight / ratio)));
}

double FittingScale(QSize available, double devicePixelRatio, QSize content, double wanted) {
    QSize frame = FrameRoom(devicePixelRatio);
    if (Fits(available, frame, content, wanted)) return wanted;
    for (double scale = std::floor(wanted / kScaleStep) * kScaleStep; scale >= kSmallestScale;
         scale -= kScaleStep) {
        if (scale < wanted && Fits(available, frame, content, scale)) return scale;
    }
    return kSmallestScale;
}

ScaleChoice ChooseScale(QSize available, double devicePixelRatio, QSize content, const char* asked) {
    QString problem;
    std::optional<double> wanted = AskedScale(asked, &problem);
    ScaleChoice choice;
    choice.scale = FittingScale(available, devicePixelRatio, content, wanted.value_or(kDefaultScale));
    if (!problem.isEmpty()) {
        choice.notice = FilledString(IDS_SCALE_NOT_USED, {problem, ScaleText(choice.scale)});
    } else if (wanted && choice.scale < *wanted) {
        choice.notice =
            FilledString(IDS_SCALE_TOO_LARGE, {ScaleText(*wanted), QString::number(available.width()),
                                               QString::number(available.height()), ScaleText(choice.scale)});
    }
    return choice;
}

}  // namespace mirabo::platform
