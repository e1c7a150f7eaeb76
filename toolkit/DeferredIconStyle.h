// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace kvistra {

// The application's own style, except that the menu bar's extension icons are
// made the first time they are drawn. Every menu bar asks for one as it is built,
// and seldom shows it; making it at once loaded every image plugin at start.
class DeferredIconStyle final : public QProxyStyle {
public:
    // Proxies a new instance of the style named.
    explicit DeferredIconStyle(const QString& styleName);

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace kvistra
