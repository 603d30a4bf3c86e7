// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/RuleAssistentForm.h"

#include "editors/ActionSequencesForm.h"
#include "editors/NameForm.h"
#include "model/ActionSequence.h"
#include "model/IconList.h"
#include "model/Rule.h"
#include "platform/KestrunError.h"
#include "rulesfile/Parameters.h"
#include "trace/Trace.h"
#include "widgets/FirstControl.h"
#include "widgets/MessageBox.h"

#include "ui_RuleAssistentForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <bit>

namespace {

// The option controls are named after the members they stand for ("coiAll",
// "cobIn" ...), so one walk over an enumeration finds them on their page.
template <typename E>
TSet<E> TickedMembers(const QWidget& page)
{
    TSet<E> members;
    for (int i = 0; i < EnumCount<E>(); ++i) {
        const auto* box = page.findChild<const QAbstractButton*>(EnumName(E(i)));
        if (box && box->isChecked())
            members.Include(E(i));
    }
    return members;
}

// Radio buttons are ticked in ordinal order, so of several members the last one shows.
template <typename E>
void TickMembers(QWidget& page, TSet<E> members)
{
    for (int i = 0; i < EnumCount<E>(); ++i) {
        auto* box = page.findChild<QAbstractButton*>(EnumName(E(i)));
        if (box && members.Contains(E(i)))
            box->setChecked(true);
    }
}

// The number filters ticked on a page; none ticked means both filters, each of
// which then gets the pattern "*".
template <typename E>
TSet<E> NumberFilters(const QWidget& page, E first, E second)
{
    const TSet<E> ticked = TickedMembers<E>(page);
    return ticked == TSet<E>() ? TSet<E> {first, second} : ticked;
}

// An empty pattern matches only an empty number: a filter that is off or left
// empty is stored as "*", so that it never keeps a rule from firing.
QString PatternToSave(const QCheckBox& box, const QLineEdit& field)
{
    const QString pattern = field.text().trimmed();
    return box.isChecked() && !pattern.isEmpty() ? pattern : QStringLiteral("*");
}

void ShowNumberFilter(QCheckBox& box, QLineEdit& field, bool ticked, const QString& pattern)
{
    box.setChecked(ticked);
    field.setText(ticked && pattern != QLatin1StringView("*") ? pattern : QString());
}

// The "all" box of a list of situations: clicking it ticks or unticks the others;
// unticking one of the others unticks it.
void LinkAllBox(QCheckBox& all, const QList<QCheckBox*>& others)
{
    QObject::connect(&all, &QCheckBox::clicked, &all, [others](bool checked) {
        for (QCheckBox* box : others)
            box->setChecked(checked);
    });
    for (QCheckBox* box : others) {
        QObject::connect(box, &QCheckBox::toggled, &all, [&all](bool checked) {
            if (!checked)
                all.setChecked(false);
        });
    }
}

} // namespace

TRuleAssistentForm::TRuleAssistentForm(std::unique_ptr<TParameters> workingCopy, const QString& activeRuleID,
                                       QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TRuleAssistentForm>())
    , m_parameters(std::move(workingCopy))
    , m_activeRuleID(activeRuleID)
{
    if (!m_parameters)
        throw EKestrunError(QStringLiteral("The rule wizard was opened without a working copy."));
    m_activeRule = qobject_cast<TRule*>(m_parameters->Rules().GetObjectByID(activeRuleID));
    if (!m_activeRule)
        throw EKestrunError(
            QStringLiteral("The rule wizard was opened for rule %1, which the copy lacks.").arg(activeRuleID));
    ui->setupUi(this);
    const IconList& icons = IconList::Instance();
    ui->image_Welcome->setPixmap(QPixmap::fromImage(
        icons.Render(icons.IndexOf(u"auto_fix_high"), QSize(96, 96), palette().color(QPalette::Highlight))));
    ui->panel_Header->setBackgroundRole(QPalette::Base);
    ConnectControls();
    FormShow();
}

TRuleAssistentForm::~TRuleAssistentForm() = default;

std::unique_ptr<TParameters> TRuleAssistentForm::TakeParameters()
{
    return std::move(m_parameters);
}

TRuleAssistentPage TRuleAssistentForm::CurrentPage() const
{
    return TRuleAssistentPage(ui->PageControl->currentIndex());
}

void TRuleAssistentForm::ConnectControls()
{
    LinkAllBox(*ui->coiAll, {ui->coiIncomingCall, ui->coiCallPickUp, ui->coiCallTerminated});
    LinkAllBox(*ui->cooAll,
               {ui->cooDial, ui->cooRemoteRing, ui->cooRemoteBusy, ui->cooRemoteWaiting, ui->cooRemoteConnected,
                ui->cooTerminated});
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->isCheckable())
            connect(button, &QAbstractButton::toggled, this, &TRuleAssistentForm::ValidateForm);
    }
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        if (field != ui->edit_RuleName)
            connect(field, &QLineEdit::textChanged, this, &TRuleAssistentForm::ValidateForm);
    }
    connect(ui->edit_RuleName, &QLineEdit::textChanged, this, &TRuleAssistentForm::edit_RuleNameChange);
    connect(ui->comboBox_ActionSequences, &QComboBox::currentIndexChanged, this, &TRuleAssistentForm::ValidateForm);
    connect(ui->button_Next, &QPushButton::clicked, this, &TRuleAssistentForm::button_NextClick);
    connect(ui->button_Back, &QPushButton::clicked, this, &TRuleAssistentForm::button_BackClick);
    connect(ui->button_Save, &QPushButton::clicked, this, &TRuleAssistentForm::button_SaveClick);
    connect(ui->button_Cancel, &QPushButton::clicked, this, &TRuleAssistentForm::reject);
    connect(ui->button_NewActionSequence, &QPushButton::clicked, this, &TRuleAssistentForm::button_NewClick);
    connect(ui->button_EditActionSequence, &QPushButton::clicked, this, &TRuleAssistentForm::button_EditClick);
}

void TRuleAssistentForm::FormShow()
{
    const TRule& rule = *m_activeRule;
    {
        // Nothing is validated until every control shows the rule.
        QScopedValueRollback validating(m_validating, true);
        m_welcomeEnabled = rule.Name().isEmpty();
        ui->edit_RuleName->setText(rule.Name());
        m_openedCallOptionBase = rule.CallOptionBase();
        TickMembers(*ui->RadioGroup_CallOptionBase, m_openedCallOptionBase);
        m_openedKind = ChosenKind();
        TickMembers(*ui->Page_CallInternExtern, rule.CallOptionInEx());
        TickMembers(*ui->Page_CallOptionIn, rule.CallOptionIn());
        TickMembers(*ui->Page_CallOptionOut, rule.CallOptionOut());

        const TCallOptionInNumberSet inNumber = rule.CallOptionInNumber();
        const bool allIn = inNumber.Contains(coinAll);
        ShowNumberFilter(*ui->coinFromNumber, *ui->FromNumberIn, allIn || inNumber.Contains(coinFromNumber),
                         rule.FromNumberIn());
        ShowNumberFilter(*ui->coinToExtension, *ui->ToExtensionNumberIn, allIn || inNumber.Contains(coinToExtension),
                         rule.ToExtensionNumberIn());
        const TCallOptionOutNumberSet outNumber = rule.CallOptionOutNumber();
        const bool allOut = outNumber.Contains(coonAll);
        ShowNumberFilter(*ui->coonToNumber, *ui->ToNumberOut, allOut || outNumber.Contains(coonToNumber),
                         rule.ToNumberOut());
        ShowNumberFilter(*ui->coonFromExtension, *ui->FromExtensionNumberOut,
                         allOut || outNumber.Contains(coonFromExtension), rule.FromExtensionNumberOut());
        const TCallOptionNotificationNumberSet notificationNumber = rule.CallOptionNotificationNumber();
        const bool allNotification = notificationNumber.Contains(cosAll);
        ShowNumberFilter(*ui->cosFromNumber, *ui->NotificationNumberIn,
                         allNotification || notificationNumber.Contains(cosFromNumber), rule.NotificationNumberIn());
        ShowNumberFilter(*ui->cosToNumber, *ui->NotificationNumberTo,
                         allNotification || notificationNumber.Contains(cosToNumber), rule.NotificationNumberTo());
    }
    m_reloadActionSequences = true;
    ShowPage(m_welcomeEnabled ? TRuleAssistentPage::Welcome : TRuleAssistentPage::CallOptionBase);
}

std::optional<TCallOptionBase> TRuleAssistentForm::ChosenKind() const
{
    const TCallOptionBaseSet chosen = TickedMembers<TCallOptionBase>(*ui->RadioGroup_CallOptionBase);
    for (int i = 0; i < EnumCount<TCallOptionBase>(); ++i) {
        if (chosen.Contains(TCallOptionBase(i)))
            return TCallOptionBase(i);
    }
    return std::nullopt;
}

void TRuleAssistentForm::ShowPage(TRuleAssistentPage page)
{
    ui->PageControl->setCurrentIndex(int(page));
    ValidateForm();
    // The user goes on with the keyboard on the new page: "Weiter>" may just have
    // been disabled there, and the focus must not fall to "Abbrechen". The last
    // page asks for the name alone: it can be typed at once.
    FocusFirstControl(*ui->PageControl->currentWidget());
}

void TRuleAssistentForm::ValidateForm()
{
    // Refilling the list and ticking boxes report changes of their own.
    if (m_validating)
        return;
    QScopedValueRollback validating(m_validating, true);

    if (m_reloadActionSequences) {
        ReloadActionSequences();
        m_reloadActionSequences = false;
    }
    SelectActionSequence();

    const TRuleAssistentPage page = CurrentPage();
    const bool lastPage = page == TRuleAssistentPage::SaveRule;
    const QWidget* current = ui->PageControl->currentWidget();
    ui->panel_Header->setVisible(page != TRuleAssistentPage::Welcome);
    ui->label_Title->setText(current->property("caption").toString());
    ui->label_Description->setText(current->property("hint").toString());
    ui->button_Next->setVisible(!lastPage);
    ui->button_Save->setVisible(lastPage);
    ui->button_Next->setDefault(!lastPage);
    ui->button_Save->setDefault(lastPage);

    const std::pair<const QCheckBox*, QList<QWidget*>> filters[] = {
        {ui->coinFromNumber, {ui->FromNumberIn, ui->label_FromNumberIn}},
        {ui->coinToExtension, {ui->ToExtensionNumberIn, ui->label_ToExtensionNumberIn}},
        {ui->coonToNumber, {ui->ToNumberOut, ui->label_ToNumberOut}},
        {ui->coonFromExtension, {ui->FromExtensionNumberOut, ui->label_FromExtensionNumberOut}},
        {ui->cosFromNumber, {ui->NotificationNumberIn, ui->label_NotificationNumberIn}},
        {ui->cosToNumber, {ui->NotificationNumberTo, ui->label_NotificationNumberTo}},
    };
    for (const auto& [box, controls] : filters) {
        for (QWidget* control : controls)
            control->setEnabled(box->isChecked());
    }
    ui->button_EditActionSequence->setEnabled(m_activeActionSequence != nullptr);

    ui->button_Next->setEnabled(CanMoveOn(page));
    ui->button_Save->setEnabled(CanMoveOn(page));
    if (page == TRuleAssistentPage::Welcome)
        ui->button_Back->setEnabled(false);
    else if (page == TRuleAssistentPage::CallOptionBase)
        ui->button_Back->setEnabled(m_welcomeEnabled);
    else
        ui->button_Back->setEnabled(true);
}

bool TRuleAssistentForm::CanMoveOn(TRuleAssistentPage page) const
{
    switch (page) {
    case TRuleAssistentPage::CallOptionBase:
        return ChosenKind().has_value();
    // The "all" box counts: a rule with it alone, as a file may hold, fires in every situation.
    case TRuleAssistentPage::CallOptionIn:
        return TickedMembers<TCallOptionIn>(*ui->Page_CallOptionIn) != TCallOptionInSet();
    case TRuleAssistentPage::CallOptionOut:
        return TickedMembers<TCallOptionOut>(*ui->Page_CallOptionOut) != TCallOptionOutSet();
    case TRuleAssistentPage::SaveRule:
        return !ui->edit_RuleName->text().trimmed().isEmpty();
    default:
        return true;
    }
}

void TRuleAssistentForm::ReloadActionSequences()
{
    QComboBox& list = *ui->comboBox_ActionSequences;
    const QSignalBlocker blocker(list);
    list.clear();
    const TBaseList& sequences = m_parameters->ActionSequences();
    for (int i = 0; i < sequences.Count(); ++i) {
        const auto* sequence = sequences.Item<TActionSequence>(i);
        list.addItem(sequence ? sequence->Name() : QString());
    }
    int selected = m_activeActionSequence ? sequences.GetIndex(m_activeActionSequence) : -1;
    if (selected < 0 && m_activeRule->Count() > 0)
        selected = sequences.GetIndex(m_activeRule->GetObject(0));
    // A list that is filled selects its first item by itself: a rule without a
    // sequence must not be linked to it unasked.
    list.setCurrentIndex(selected);
}

void TRuleAssistentForm::SelectActionSequence()
{
    const int selected = ui->comboBox_ActionSequences->currentIndex();
    m_activeActionSequence = selected >= 0 ? m_parameters->ActionSequences().Item<TActionSequence>(selected) : nullptr;
    if (!m_activeActionSequence)
        return;
    TRule& rule = *m_activeRule;
    if (rule.Count() == 0)
        rule.AddNewItem(m_activeActionSequence);
    else if (rule.GetObject(0) != m_activeActionSequence)
        rule.ExchangeItem(rule.GetObject(0), m_activeActionSequence, false);
    Trace::Object("RuleAssistent::ValidateForm:Selected action sequence", m_activeActionSequence);
}

void TRuleAssistentForm::button_NextClick()
{
    ShowPage(NextPage(CurrentPage(), ChosenKind()));
}

void TRuleAssistentForm::button_BackClick()
{
    const TRuleAssistentPage previous = PreviousPage(CurrentPage(), ChosenKind());
    if (previous != TRuleAssistentPage::Welcome || m_welcomeEnabled)
        ShowPage(previous);
}

void TRuleAssistentForm::edit_RuleNameChange(const QString& text)
{
    m_activeRule->SetName(text);
    ValidateForm();
}

TCallOptionBaseSet TRuleAssistentForm::CallOptionBaseToSave() const
{
    const TCallOptionBaseSet chosen = TickedMembers<TCallOptionBase>(*ui->RadioGroup_CallOptionBase);
    if (std::popcount(m_openedCallOptionBase.Bits()) > 1) {
        // A file may give a rule several kinds; the radio group shows only the last.
        if (ChosenKind() == m_openedKind) {
            Trace::Value("RuleAssistent::button_SaveClick:Several call kinds kept", m_openedCallOptionBase.ToString());
            return m_openedCallOptionBase;
        }
        Trace::Value("RuleAssistent::button_SaveClick:Several call kinds replaced",
                     m_openedCallOptionBase.ToString() + QStringLiteral(" -> ") + chosen.ToString());
    }
    return chosen;
}

void TRuleAssistentForm::button_SaveClick()
{
    if (!CanMoveOn(TRuleAssistentPage::SaveRule))
        return;
    TRule& rule = *m_activeRule;
    rule.SetName(ui->edit_RuleName->text());
    TCallOptionInExSet inEx = TickedMembers<TCallOptionInEx>(*ui->Page_CallInternExtern);
    rule.SetCallOptionInEx(inEx == TCallOptionInExSet() ? TCallOptionInExSet {coIntern, coExtern} : inEx);
    rule.SetCallOptionBase(CallOptionBaseToSave());
    rule.SetCallOptionIn(TickedMembers<TCallOptionIn>(*ui->Page_CallOptionIn));
    rule.SetCallOptionOut(TickedMembers<TCallOptionOut>(*ui->Page_CallOptionOut));
    rule.SetCallOptionInNumber(NumberFilters(*ui->Page_CallOptionInNumber, coinFromNumber, coinToExtension));
    rule.SetCallOptionOutNumber(NumberFilters(*ui->Page_CallOptionOutNumber, coonToNumber, coonFromExtension));
    rule.SetCallOptionNotificationNumber(
        NumberFilters(*ui->Page_CallOptionNotificationNumber, cosToNumber, cosFromNumber));
    rule.SetFromNumberIn(PatternToSave(*ui->coinFromNumber, *ui->FromNumberIn));
    rule.SetToExtensionNumberIn(PatternToSave(*ui->coinToExtension, *ui->ToExtensionNumberIn));
    rule.SetToNumberOut(PatternToSave(*ui->coonToNumber, *ui->ToNumberOut));
    rule.SetFromExtensionNumberOut(PatternToSave(*ui->coonFromExtension, *ui->FromExtensionNumberOut));
    rule.SetNotificationNumberIn(PatternToSave(*ui->cosFromNumber, *ui->NotificationNumberIn));
    rule.SetNotificationNumberTo(PatternToSave(*ui->cosToNumber, *ui->NotificationNumberTo));
    accept();
}

void TRuleAssistentForm::reject()
{
    if (TMessageBox::Question(
            this, windowTitle(),
            QStringLiteral(
                "Möchten Sie den Regelassistenten wirklich beenden und alle gemachten Änderungen verwerfen?")) ==
        QMessageBox::No)
        return;
    QDialog::reject();
}

void TRuleAssistentForm::AdoptParameters(std::unique_ptr<TParameters> copy, TActionSequence* activeActionSequence)
{
    auto* rule = qobject_cast<TRule*>(copy->Rules().GetObjectByID(m_activeRuleID));
    if (!rule)
        throw EKestrunError(QStringLiteral("The sequence editor's copy lacks rule %1.").arg(m_activeRuleID));
    m_parameters = std::move(copy);
    m_activeRule = rule;
    m_activeActionSequence = activeActionSequence;
    m_reloadActionSequences = true;
}

void TRuleAssistentForm::button_NewClick()
{
    TActionSequencesNameForm nameForm(QString(), this);
    if (nameForm.exec() != QDialog::Accepted)
        return;
    std::unique_ptr<TParameters> copy = m_parameters->Clone();
    auto* sequence = new TActionSequence;
    sequence->SetOrvixLine(copy->OrvixLine());
    sequence->SetName(nameForm.Name());
    copy->ActionSequences().AddNewItem(sequence);
    if (EditSequenceLocked(*copy, sequence)) {
        Trace::Value("RuleAssistent::NewActionSequence:Creating new action sequence:", sequence->Name());
        AdoptParameters(std::move(copy), sequence);
    }
    ValidateForm();
}

void TRuleAssistentForm::button_EditClick()
{
    if (!m_activeActionSequence)
        return;
    std::unique_ptr<TParameters> copy = m_parameters->Clone();
    if (TActionSequence* sequence = EditSequenceLocked(*copy, m_activeActionSequence))
        AdoptParameters(std::move(copy), sequence);
    ValidateForm();
}

TActionSequence* TRuleAssistentForm::EditSequenceLocked(TParameters& copy, const TActionSequence* preset)
{
    TActionSequencesForm editor(copy, this);
    editor.SetActiveActionSequence(preset);
    editor.SetLocked(true);
    return editor.exec() == QDialog::Accepted ? editor.ActiveActionSequence() : nullptr;
}
