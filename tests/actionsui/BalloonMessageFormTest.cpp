// SPDX-License-Identifier: GPL-3.0-or-later

#include "MessageFormFixture.h"
#include "WindowGrab.h"

#include "actions/ui/BalloonMessageForm.h"

#include <QLabel>
#include <QTest>

namespace {

class BalloonMessageForm : public MessageFormFixture
{
protected:
    TBalloonMessageForm* OpenBalloon(const QList<TMessageRow>& rows)
    {
        TMessageWindowRequest request = Request();
        request.Rows = rows;
        auto* form = Track(new TBalloonMessageForm(ModelSource(), [this](const QUrl& url) {
            m_opened.append(url);
            return true;
        }));
        form->Open(request, m_settings);
        return form;
    }

    static QStringList Texts(const TBalloonMessageForm& form)
    {
        QStringList texts;
        for (const QLabel* label : form.ResultLabels())
            texts.append(label->text());
        return texts;
    }

    QList<QUrl> m_opened;
};

TEST_F(BalloonMessageForm, EveryResultIsARowAndTheWindowGrowsWithThem)
{
    TBalloonMessageForm* form = OpenBalloon({{QStringLiteral("Name"), QString()},
                                             {QStringLiteral("Firma"), QStringLiteral("  ")},
                                             {QString(), QStringLiteral("x")}});
    EXPECT_EQ(Texts(*form),
              (QStringList {QStringLiteral("Name:"), QString(), QStringLiteral("Firma:"), QStringLiteral("  "),
                            QString(), QStringLiteral("x")}));
    const QList<QLabel*> labels = form->ResultLabels();
    const int rowHeight = labels[0]->height();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(labels[2 * row]->geometry(), QRect(10, 3 + row * (rowHeight + 5), 105, rowHeight)) << row;
        EXPECT_EQ(labels[2 * row + 1]->geometry(), QRect(115, 3 + row * (rowHeight + 5), 245, rowHeight)) << row;
    }
    EXPECT_EQ(form->height(), std::max(170, 3 + 3 * (rowHeight + 5) + 30 + 90 + 10));
    EXPECT_EQ(form->width(), 370);
    GrabWindow(*form, QStringLiteral("notification-balloon"));
}

TEST_F(BalloonMessageForm, ManyRowsMakeItTallerThanTheMinimum)
{
    QList<TMessageRow> rows;
    for (int i = 0; i < 8; ++i)
        rows.append({QStringLiteral("Feld %1").arg(i), QStringLiteral("Wert")});
    TBalloonMessageForm* form = OpenBalloon(rows);
    const int rowHeight = form->ResultLabels().first()->height();
    EXPECT_EQ(form->height(), 3 + 8 * (rowHeight + 5) + 130);
    EXPECT_GT(form->height(), 170);
}

TEST_F(BalloonMessageForm, MailAddressesAndTelephoneNumbersOpenTheirHandler)
{
    struct LinkCase
    {
        QString value;
        QString link;
    };
    const QList<LinkCase> cases {
        {QStringLiteral("anna.berg@example.com"), QStringLiteral("mailto:anna.berg@example.com")},
        {QStringLiteral("+49 30 1234567"), QStringLiteral("tel:+49 30 1234567")},
        {QStringLiteral("Raum 12b"), QString()},
    };
    QList<TMessageRow> rows;
    for (const LinkCase& c : cases)
        rows.append({QStringLiteral("Feld"), c.value});
    TBalloonMessageForm* form = OpenBalloon(rows);
    const QList<QLabel*> labels = form->ResultLabels();
    for (qsizetype i = 0; i < cases.size(); ++i) {
        QLabel* value = labels[2 * i + 1];
        const bool link = !cases[i].link.isEmpty();
        EXPECT_EQ(value->font().underline(), link) << i;
        EXPECT_EQ(value->cursor().shape(), link ? Qt::PointingHandCursor : Qt::ArrowCursor) << i;
        m_opened.clear();
        QTest::mouseClick(value, Qt::LeftButton);
        EXPECT_EQ(m_opened, link ? QList<QUrl> {QUrl(cases[i].link)} : QList<QUrl> {}) << i;
    }
}

TEST_F(BalloonMessageForm, CallDataIsNeverMarkup)
{
    TBalloonMessageForm* form = OpenBalloon({{QStringLiteral("<i>"), QStringLiteral("<b>x</b>")}});
    EXPECT_EQ(Texts(*form), (QStringList {QStringLiteral("<i>:"), QStringLiteral("<b>x</b>")}));
    for (const QLabel* label : form->ResultLabels())
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

} // namespace
