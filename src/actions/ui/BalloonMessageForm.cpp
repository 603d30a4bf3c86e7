// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/BalloonMessageForm.h"

#include "platform/SystemRoutines.h"
#include "trace/Trace.h"

#include "ui_BalloonMessageForm.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int RowsTop = 3;
constexpr int RowSpacing = 5;
constexpr int ColumnMargin = 10;
constexpr int TopPanelHeight = 30;
constexpr int BottomPanelHeight = 90;
constexpr int BottomMargin = 10;

// The link a value opens, or none when it is neither a mail address nor a telephone number.
QUrl LinkFor(const QString& value)
{
    if (IsEMailAddress(value))
        return QUrl(QStringLiteral("mailto:") + value);
    if (IsTelephoneNumber(value))
        return QUrl(QStringLiteral("tel:") + value);
    return {};
}

} // namespace

TBalloonMessageForm::TBalloonMessageForm(TModelSource modelSource, TUrlOpener urlOpener)
    : TBaseMessageForm(std::move(modelSource))
    , ui(std::make_unique<Ui::TBalloonMessageForm>())
    , m_urlOpener(urlOpener ? std::move(urlOpener) : TUrlOpener(&QDesktopServices::openUrl))
{
    Trace::Message("BalloonMessageForm::FormCreate");
    m_scrollBox = new QScrollArea(MessagePanel());
    ui->setupUi(m_scrollBox);
    // The window's body shows through: the rows are drawn on it.
    m_scrollBox->viewport()->setAutoFillBackground(false);
    m_results = ui->panel_Results;
    m_results->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(MessagePanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scrollBox);
    MessagePanel()->setFont(SemiboldFont(15));
    CaptionLabel()->setFont(SemiboldFont(13));
    resize(370, 170);
}

TBalloonMessageForm::~TBalloonMessageForm() = default;

void TBalloonMessageForm::FormShow()
{
    TBaseMessageForm::FormShow();
    CreateResultLabels();
    RequestAlign();
}

QList<QLabel*> TBalloonMessageForm::ResultLabels() const
{
    return m_labels;
}

void TBalloonMessageForm::CreateResultLabels()
{
    Trace::Message("BalloonMessageForm::CreateResultLabels:Creating labels for results");
    qDeleteAll(m_labels);
    m_labels.clear();
    m_links.clear();

    // The window grows with its rows up to its maximum height (the work area it
    // stacks in); rows beyond that scroll, and the buttons stay in the window.
    const int lineHeight = QFontMetrics(m_results->font()).height();
    const int rowsHeight = RowsTop + int(Request().Rows.size()) * (lineHeight + RowSpacing);
    const int chrome = TopPanelHeight + BottomPanelHeight + BottomMargin;
    const int windowHeight =
        std::clamp(rowsHeight + chrome, minimumHeight(), std::max(minimumHeight(), maximumHeight()));
    const bool scrolling = rowsHeight + chrome > windowHeight;
    // The panel spans the window's width, less the scroll bar where the rows scroll.
    const int panelWidth = width() - (scrolling ? m_scrollBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0);
    const int aliasWidth = int(std::lround((panelWidth - 2 * ColumnMargin) * 0.3));
    const int valueWidth = int(std::lround((panelWidth - 2 * ColumnMargin) * 0.7));
    int yPosition = RowsTop;
    for (const TMessageRow& row : Request().Rows) {
        Trace::Value("BalloonMessageForm::CreateResultLabels:Creating results for parameter", row.Alias);
        const QString alias = row.Alias.isEmpty() ? QString() : row.Alias + QStringLiteral(":");
        QLabel* aliasLabel = AddLabel(alias, ColumnMargin, yPosition, aliasWidth);
        QLabel* valueLabel = AddLabel(row.Value, ColumnMargin + aliasWidth, yPosition, valueWidth);
        const QUrl link = LinkFor(row.Value);
        if (!link.isEmpty()) {
            m_links.insert(valueLabel, link);
            QFont underlined = valueLabel->font();
            underlined.setUnderline(true);
            valueLabel->setFont(underlined);
            valueLabel->setText(valueLabel->fontMetrics().elidedText(row.Value, Qt::ElideRight, valueWidth));
            valueLabel->setCursor(Qt::PointingHandCursor);
            valueLabel->installEventFilter(this);
        }
        yPosition += aliasLabel->height() + RowSpacing;
    }
    m_results->resize(panelWidth, yPosition);
    m_scrollBox->verticalScrollBar()->setValue(0);
    resize(width(), windowHeight);
}

// A label of call data: plain text, cut with "..." where it is too long. A
// press on it that is not a link click drags the window.
QLabel* TBalloonMessageForm::AddLabel(const QString& text, int left, int top, int width)
{
    auto* label = new QLabel(m_results);
    label->setTextFormat(Qt::PlainText);
    const QFontMetrics metrics = label->fontMetrics();
    label->setText(metrics.elidedText(text, Qt::ElideRight, width));
    // One line of the label's font: what its size hint would say, without laying out its text.
    label->setGeometry(left, top, width, metrics.height());
    label->show();
    m_labels.append(label);
    return label;
}

bool TBalloonMessageForm::eventFilter(QObject* watched, QEvent* event)
{
    const auto* label = qobject_cast<const QLabel*>(watched);
    if (label && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_links.contains(label)) {
        HandleLabelClick(label);
        return true;
    }
    return TBaseMessageForm::eventFilter(watched, event);
}

void TBalloonMessageForm::HandleLabelClick(const QLabel* label)
{
    const QUrl link = m_links.value(label);
    Trace::Value("BalloonMessageForm::HandleLabelClick:Opening", link.toString());
    if (!m_urlOpener(link))
        Trace::Warning("BalloonMessageForm::HandleLabelClick:The desktop could not open the link", link.toString());
}
