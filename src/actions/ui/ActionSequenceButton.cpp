// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/ActionSequenceButton.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int IconSize = 32;
constexpr qreal OutlineRadius = 5;
constexpr qreal DisabledOpacity = 0.4;

} // namespace

TActionSequenceButton::TActionSequenceButton(int slot, QWidget* parent)
    : QToolButton(parent)
    , m_slot(slot)
{
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(IconSize, IconSize));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void TActionSequenceButton::SetColors(const QColor& fontColor, const QColor& borderColor)
{
    m_fontColor = fontColor;
    m_borderColor = borderColor;
    update();
}

QString TActionSequenceButton::PlainToolTip(const QString& text)
{
    return text.isEmpty()
        ? QString()
        : QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

void TActionSequenceButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(DisabledOpacity);

    const QRectF outline = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath path;
    path.addRoundedRect(outline, OutlineRadius, OutlineRadius);
    if (isEnabled() && (underMouse() || isDown())) {
        QColor wash = m_fontColor;
        wash.setAlpha(isDown() ? 60 : 30);
        painter.fillPath(path, wash);
    }
    painter.setPen(QPen(m_borderColor, 2));
    painter.drawPath(path);

    const QRect iconRect((width() - IconSize) / 2, 6, IconSize, IconSize);
    icon().paint(&painter, iconRect);
    painter.setPen(m_fontColor);
    painter.setFont(font());
    const QRect textRect(2, iconRect.bottom() + 2, width() - 4, height() - iconRect.bottom() - 4);
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text());
}
