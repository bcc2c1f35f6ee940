#include "ui/builtin_art.h"

namespace lumiere::ui {

const BuiltinArt& BuiltinArt::get() {
    static const BuiltinArt art{
        QPixmap(QStringLiteral(":/builtin/desk.bmp")),
        QPixmap(QStringLiteral(":/builtin/knob.bmp")),
        QPixmap(QStringLiteral(":/builtin/switch.bmp")),
        QPixmap(QStringLiteral(":/builtin/face.bmp")),
        QPixmap(QStringLiteral(":/builtin/banner.bmp")),
        QPixmap(QStringLiteral(":/builtin/title.bmp")),
        QPixmap(QStringLiteral(":/builtin/background.bmp")),
    };
    return art;
}

}  // namespace lumiere::ui
