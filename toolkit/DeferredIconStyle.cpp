// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeferredIconStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <functional>
#include <optional>

namespace kvistra {

namespace {

// Makes its icon when it is first drawn or measured.
class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make)
        : make_(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    // Known without making it: the style has these icons.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon& icon() {
        if (!made_) {
            made_ = make_();
        }
        return *made_;
    }

    std::function<QIcon()> make_;
    std::optional<QIcon> made_;
};

} // namespace

DeferredIconStyle::DeferredIconStyle(const QString& styleName)
    : QProxyStyle(styleName) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (which != SP_ToolBarHorizontalExtensionButton &&
        which != SP_ToolBarVerticalExtensionButton) {
        return QProxyStyle::standardIcon(which, option, widget);
    }
    // The style outlives its icons: the application owns it until the end.
    return QIcon(
        new DeferredIconEngine([this, which] { return baseStyle()->standardIcon(which); }));
}

} // namespace kvistra
