// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/MessageBox.h"

#include <QAbstractButton>

#include <deque>
#include <utility>

namespace {

std::deque<TMessageBox::Button>& NextAnswers()
{
    static std::deque<TMessageBox::Button> answers;
    return answers;
}

// Qt names its standard buttons in English unless a translation is installed;
// the program's boxes speak German whatever the machine has.
void UseGermanButtonTexts(QMessageBox& box)
{
    static const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Ok, "OK"},
        {QMessageBox::Cancel, "Abbrechen"},
        {QMessageBox::Yes, "&Ja"},
        {QMessageBox::No, "&Nein"},
    };
    for (const auto& [button, text] : texts) {
        if (QAbstractButton* shown = box.button(button))
            shown->setText(QString::fromUtf8(text));
    }
}

} // namespace

TMessageBox::Button TMessageBox::Question(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                                          Button defaultButton)
{
    return Show(QMessageBox::Question, parent, title, text, buttons, defaultButton);
}

TMessageBox::Button TMessageBox::Information(QWidget* parent, const QString& title, const QString& text,
                                             Buttons buttons, Button defaultButton)
{
    return Show(QMessageBox::Information, parent, title, text, buttons, defaultButton);
}

TMessageBox::Button TMessageBox::Warning(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                                         Button defaultButton)
{
    return Show(QMessageBox::Warning, parent, title, text, buttons, defaultButton);
}

TMessageBox::Button TMessageBox::Critical(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                                          Button defaultButton)
{
    return Show(QMessageBox::Critical, parent, title, text, buttons, defaultButton);
}

QMessageBox* TMessageBox::Notice(QWidget* parent, const QString& title, const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Texts carry callers' names and numbers: a name that looks like HTML is shown as written.
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::NonModal);
    UseGermanButtonTexts(*box);
    box->show();
    return box;
}

void TMessageBox::SetNextAnswer(Button answer)
{
    NextAnswers().push_back(answer);
}

qsizetype TMessageBox::PendingAnswers()
{
    return static_cast<qsizetype>(NextAnswers().size());
}

void TMessageBox::ClearAnswers()
{
    NextAnswers().clear();
}

TMessageBox::Button TMessageBox::Show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                      const QString& text, Buttons buttons, Button defaultButton)
{
    if (!NextAnswers().empty()) {
        const Button answer = NextAnswers().front();
        NextAnswers().pop_front();
        Q_ASSERT_X(buttons.testFlag(answer), "TMessageBox", "the preset answer is not a button of this box");
        return answer;
    }
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setTextFormat(Qt::PlainText);
    UseGermanButtonTexts(box);
    // As QMessageBox's own functions do: a box closed without any button
    // (no Escape button among them) counts as cancelled.
    if (box.exec() == -1)
        return QMessageBox::Cancel;
    return box.standardButton(box.clickedButton());
}
