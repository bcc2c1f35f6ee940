// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions at the edge between the core's model and Qt: Windows-1252 texts, 0x00BBGGRR
// colours, twips, pictures.

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <cmath>
#include <string>

#include "model/controls.h"
#include "text/cp1252.h"

namespace lumiere::ui {

inline QString toQString(const std::string& cp1252) {
    return QString::fromStdString(toUtf8(cp1252));
}

inline std::string fromQString(const QString& text) {
    return fromUtf8(text.toStdString());
}

inline QColor toQColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline Twips toTwips(double pixels) {
    return static_cast<Twips>(pixels * kTwipsPerPixel);
}

inline QRect toRect(const Geometry& geo) {
    return QRect(toPixels(geo.left), toPixels(geo.top), toPixels(geo.width), toPixels(geo.height));
}

// A picture read by the Qt platform.
class QtPicture final : public PictureData {
public:
    explicit QtPicture(QPixmap pixmap) : pixmap_(std::move(pixmap)) {}
    const QPixmap& pixmap() const { return pixmap_; }

private:
    QPixmap pixmap_;
};

// The pixmap of a loaded picture, or the built-in one when the control has none of its own.
inline const QPixmap& pixmapOr(const Picture& picture, const QPixmap& builtin) {
    if (const auto* qt = dynamic_cast<const QtPicture*>(picture.get())) return qt->pixmap();
    return builtin;
}

}  // namespace lumiere::ui
