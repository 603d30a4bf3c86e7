// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ParameterMultiForm.h"

#include "editors/definitions/ChoiceLists.h"
#include "model/OrvixLine.h"
#include "parameters/CallValueChoices.h"
#include "parameters/ParameterKinds.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterVelquist.h"
#include "parameters/Velquist.h"
#include "parameters/VelquistResult.h"
#include "pim/ContactSearch.h"
#include "platform/BackgroundWait.h"

#include "ui_ParameterMultiForm.h"

#include <QFutureWatcher>
#include <QPromise>

#include <algorithm>
#include <utility>

namespace {

void FillCallValues(QComboBox* list)
{
    for (const TCallValueChoice& choice : CallValueChoices())
        AddChoice(list, choice.Caption, choice.Value);
}

// The catalogue's fields under their German names, sorted by name.
void FillCatalogue(QComboBox* list, const std::shared_ptr<TVelquist>& velquist)
{
    if (!velquist)
        return;
    const TVelquistDictionary fields = velquist->LDAPFields();
    std::vector<std::pair<QString, QString>> entries;
    for (auto field = fields.cbegin(); field != fields.cend(); ++field)
        entries.emplace_back(field.value().isEmpty() ? field.key() : field.value(), field.key());
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return QString::localeAwareCompare(a.first, b.first) < 0; });
    for (const auto& [caption, value] : entries)
        AddChoice(list, caption, value);
}

// The address book's fields by name; their index digits may be typed instead.
void FillAddressbookFields(QComboBox* list)
{
    for (int index = 0; !GetAddressbookFieldNameFromIndex(index).isEmpty(); ++index) {
        const QString name = GetAddressbookFieldNameFromIndex(index);
        AddChoice(list, name, name);
    }
}

// A stored value that no entry carries (a field the catalogue lacks, an index
// digit) is shown under its own text, so that OK keeps it.
void AddAndSelect(QComboBox* list, const QString& value)
{
    if (value.isEmpty())
        return;
    if (list->findData(value) < 0)
        AddChoice(list, value, value);
    SelectChoice(list, value);
}

} // namespace

TParameterMultiForm::TParameterMultiForm(TBaseParameter& parameter, const TParameterFormContext& context,
                                         QWidget* parent)
    : QDialog(parent)
    , m_parameter(parameter)
    , m_orvix(qobject_cast<TParameterOrvix*>(&parameter))
    , m_velquist(qobject_cast<TParameterVelquist*>(&parameter))
    , m_addressbook(qobject_cast<TParameterOutlookAddressbook*>(&parameter))
    , m_context(context)
    , ui(std::make_unique<Ui::TParameterMultiForm>())
{
    ui->setupUi(this);
    if (const TParameterKind* kind = FindParameterKind(parameter))
        setWindowTitle(kind->DialogCaption);
    ui->label_TestResult->setTextFormat(Qt::PlainText);

    ui->panel_Alias->setVisible(context.ShowAlias);
    ui->panel_Orvix->setVisible(m_orvix != nullptr);
    ui->panel_Velquist->setVisible(m_velquist || m_addressbook);
    ui->panel_Test->setVisible(m_velquist != nullptr);
    ui->panel_Options->setVisible(m_velquist != nullptr);
    // The address book has fields of its own and no search base.
    ui->label_SearchBase->setVisible(m_velquist != nullptr);
    ui->comboBox_SearchBase->setVisible(m_velquist != nullptr);
    if (m_addressbook) {
        ui->label_SearchField->setText(QStringLiteral("Suche im Adressbuch-Feld:"));
        ui->label_ReturnParameter->setText(QStringLiteral("Gib folgendes Adressbuch-Feld zurück:"));
    }

    ui->edit_Alias->setText(parameter.Alias());
    ui->checkBox_ShowIfEmpty->setChecked(parameter.ShowIfEmpty());
    ui->checkBox_CancelOnNoResult->setChecked(parameter.CancelOnNoResult());
    ui->edit_UserVariable->setText(parameter.UserVariable());
    ui->checkBox_SaveAsUserVariable->setChecked(parameter.SaveAsUserVariable());
    FillLists();
    if (m_velquist) {
        ui->checkBox_SearchOptionOrvix->setChecked(m_velquist->SearchOptionOrvix());
        ui->checkBox_SearchOptionUser->setChecked(m_velquist->SearchOptionUser());
    } else if (m_addressbook) {
        ui->checkBox_SearchOptionOrvix->setChecked(m_addressbook->SearchOptionOrvix());
        ui->checkBox_SearchOptionUser->setChecked(m_addressbook->SearchOptionUser());
    }

    for (QComboBox* list : findChildren<QComboBox*>()) {
        connect(list, &QComboBox::currentIndexChanged, this, &TParameterMultiForm::ValidateForm);
        connect(list, &QComboBox::editTextChanged, this, &TParameterMultiForm::ValidateForm);
    }
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(ui->checkBox_SearchOptionOrvix),
                                    static_cast<QAbstractButton*>(ui->checkBox_SearchOptionUser),
                                    static_cast<QAbstractButton*>(ui->checkBox_SaveAsUserVariable)})
        connect(button, &QAbstractButton::toggled, this, &TParameterMultiForm::ValidateForm);
    connect(ui->edit_UserVariable, &QLineEdit::textChanged, this, &TParameterMultiForm::ValidateForm);
    connect(ui->edit_TestValue, &QLineEdit::textChanged, this, &TParameterMultiForm::ValidateForm);
    connect(ui->button_Test, &QAbstractButton::clicked, this, &TParameterMultiForm::button_TestClick);
    connect(ui->button_OK, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    ValidateForm();
}

TParameterMultiForm::~TParameterMultiForm()
{
    if (m_testAbandoned)
        m_testAbandoned->store(true);
}

void TParameterMultiForm::FillLists()
{
    if (m_orvix) {
        FillCallValues(ui->comboBox_OrvixParameters);
        SelectChoice(ui->comboBox_OrvixParameters, m_orvix->ParameterValue());
        return;
    }
    FillCallValues(ui->comboBox_SearchOptionOrvix);
    for (const QString& name : KnownUserVariables(m_parameter))
        AddChoice(ui->comboBox_SearchOptionUser, name, name);
    if (m_velquist) {
        AddChoice(ui->comboBox_SearchField, QStringLiteral("0 - Suche in allen Rufnummernfeldern"),
                  QStringLiteral("searchnumber"));
        AddChoice(ui->comboBox_SearchField, QStringLiteral("1 - Suche in allen Adressfeldern"),
                  QStringLiteral("searchcontact"));
        AddChoice(ui->comboBox_SearchField, QStringLiteral("2 - Individuelle Suche"),
                  QStringLiteral("searchindividual"));
        FillCatalogue(ui->comboBox_SearchField, m_context.Velquist);
        FillCatalogue(ui->comboBox_ReturnParameter, m_context.Velquist);
        AddChoice(ui->comboBox_SearchBase, QStringLiteral("Server (Vorlage)"), QStringLiteral("kestrunserver"));
        AddChoice(ui->comboBox_SearchBase, QStringLiteral("Client (Vorlage)"), QStringLiteral("kestrunclient"));
        AddChoice(ui->comboBox_SearchBase, QStringLiteral("EventController (Vorlage)"),
                  QStringLiteral("kestruneventcontroller"));
        AddChoice(ui->comboBox_SearchBase, QStringLiteral("Quarvo (Vorlage)"), QStringLiteral("quarvo"));
        AddAndSelect(ui->comboBox_SearchField, m_velquist->SearchField());
        AddAndSelect(ui->comboBox_ReturnParameter, m_velquist->ParameterValue());
        AddAndSelect(ui->comboBox_SearchBase, m_velquist->SearchBase());
        SelectChoice(ui->comboBox_SearchOptionOrvix, m_velquist->SearchOptionOrvixValue());
        AddAndSelect(ui->comboBox_SearchOptionUser, m_velquist->SearchOptionUserValue());
    } else if (m_addressbook) {
        AddChoice(ui->comboBox_SearchField, QStringLiteral("All"), QStringLiteral("All"));
        FillAddressbookFields(ui->comboBox_SearchField);
        FillAddressbookFields(ui->comboBox_ReturnParameter);
        AddAndSelect(ui->comboBox_SearchField, m_addressbook->SearchField());
        AddAndSelect(ui->comboBox_ReturnParameter, m_addressbook->ParameterValue());
        SelectChoice(ui->comboBox_SearchOptionOrvix, m_addressbook->SearchOptionOrvixValue());
        AddAndSelect(ui->comboBox_SearchOptionUser, m_addressbook->SearchOptionUserValue());
    }
}

bool TParameterMultiForm::LookupFieldsFilled() const
{
    const QString callValue = ChosenValue(ui->comboBox_SearchOptionOrvix);
    return (!ui->checkBox_SearchOptionOrvix->isChecked() ||
            (!callValue.isEmpty() && !IsCallValueGroupHeader(callValue))) &&
        (!ui->checkBox_SearchOptionUser->isChecked() || !ChosenValue(ui->comboBox_SearchOptionUser).isEmpty()) &&
        !ChosenValue(ui->comboBox_SearchField).isEmpty() &&
        (m_addressbook || !ChosenValue(ui->comboBox_SearchBase).isEmpty()) &&
        !ChosenValue(ui->comboBox_ReturnParameter).isEmpty() &&
        (!ui->checkBox_SaveAsUserVariable->isChecked() || !ui->edit_UserVariable->text().trimmed().isEmpty());
}

void TParameterMultiForm::ValidateForm()
{
    ui->comboBox_SearchOptionOrvix->setEnabled(ui->checkBox_SearchOptionOrvix->isChecked());
    ui->comboBox_SearchOptionUser->setEnabled(ui->checkBox_SearchOptionUser->isChecked());
    ui->edit_UserVariable->setEnabled(ui->checkBox_SaveAsUserVariable->isChecked());
    if (m_orvix) {
        const QString value = ChosenValue(ui->comboBox_OrvixParameters);
        ui->button_OK->setEnabled(!value.isEmpty() && !IsCallValueGroupHeader(value));
    } else {
        ui->button_OK->setEnabled(LookupFieldsFilled());
    }
    ui->button_Test->setEnabled(m_velquist && !Testing() && !ui->edit_TestValue->text().trimmed().isEmpty() &&
                                !ChosenValue(ui->comboBox_SearchField).isEmpty() &&
                                !ChosenValue(ui->comboBox_SearchBase).isEmpty());
}

void TParameterMultiForm::accept()
{
    ValidateForm();
    if (!ui->button_OK->isEnabled())
        return;
    m_parameter.SetAlias(ui->edit_Alias->text());
    m_parameter.SetShowIfEmpty(ui->checkBox_ShowIfEmpty->isChecked());
    m_parameter.SetCancelOnNoResult(ui->checkBox_CancelOnNoResult->isChecked());
    // A list without a choice leaves its field as it was.
    const auto store = [](QComboBox* list, auto&& set) {
        if (const QString value = ChosenValue(list); !value.isEmpty())
            set(value);
    };
    if (m_orvix) {
        store(ui->comboBox_OrvixParameters, [this](const QString& value) { m_orvix->SetParameterValue(value); });
        QDialog::accept();
        return;
    }
    const QString userVariable = ui->edit_UserVariable->text().trimmed();
    const bool save = ui->checkBox_SaveAsUserVariable->isChecked();
    if (m_velquist) {
        store(ui->comboBox_SearchField, [this](const QString& value) { m_velquist->SetSearchField(value); });
        store(ui->comboBox_SearchOptionOrvix,
              [this](const QString& value) { m_velquist->SetSearchOptionOrvixValue(value); });
        store(ui->comboBox_SearchOptionUser,
              [this](const QString& value) { m_velquist->SetSearchOptionUserValue(value); });
        store(ui->comboBox_ReturnParameter, [this](const QString& value) { m_velquist->SetParameterValue(value); });
        store(ui->comboBox_SearchBase, [this](const QString& value) { m_velquist->SetSearchBase(value); });
        m_velquist->SetSearchOptionOrvix(ui->checkBox_SearchOptionOrvix->isChecked());
        m_velquist->SetSearchOptionUser(ui->checkBox_SearchOptionUser->isChecked());
    } else if (m_addressbook) {
        store(ui->comboBox_SearchField, [this](const QString& value) { m_addressbook->SetSearchField(value); });
        store(ui->comboBox_SearchOptionOrvix,
              [this](const QString& value) { m_addressbook->SetSearchOptionOrvixValue(value); });
        store(ui->comboBox_SearchOptionUser,
              [this](const QString& value) { m_addressbook->SetSearchOptionUserValue(value); });
        store(ui->comboBox_ReturnParameter, [this](const QString& value) { m_addressbook->SetParameterValue(value); });
        m_addressbook->SetSearchOptionOrvix(ui->checkBox_SearchOptionOrvix->isChecked());
        m_addressbook->SetSearchOptionUser(ui->checkBox_SearchOptionUser->isChecked());
    }
    m_parameter.SetUserVariable(userVariable);
    m_parameter.SetSaveAsUserVariable(save);
    // The name joins the variables the other parameters' dialogs offer.
    const std::shared_ptr<TOrvixLine> line = m_parameter.OrvixLine();
    if (save && !userVariable.isEmpty() && line && !line->TemporaryVariables().contains(userVariable))
        line->SetUserVariable(userVariable, QString());
    QDialog::accept();
}

void TParameterMultiForm::done(int result)
{
    // A search under way is abandoned: its answer would come to a closed window.
    if (m_testAbandoned)
        m_testAbandoned->store(true);
    delete std::exchange(m_testWatcher, nullptr);
    QDialog::done(result);
}

bool TParameterMultiForm::Testing() const
{
    return m_testWatcher != nullptr;
}

void TParameterMultiForm::button_TestClick()
{
    if (Testing())
        return;
    const QString key = ui->edit_TestValue->text().trimmed();
    const QString field = ChosenValue(ui->comboBox_SearchField);
    const QString base = ChosenValue(ui->comboBox_SearchBase);
    auto abandoned = std::make_shared<std::atomic<bool>>(false);
    m_testAbandoned = abandoned;
    auto promise = std::make_shared<QPromise<TVelquistSearch>>();
    m_testWatcher = new QFutureWatcher<TVelquistSearch>(this);
    connect(m_testWatcher, &QFutureWatcherBase::finished, this, [this] {
        const TVelquistSearch search = m_testWatcher->result();
        m_testWatcher->deleteLater();
        m_testWatcher = nullptr;
        ShowTestResult(search);
    });
    m_testWatcher->setFuture(promise->future());
    promise->start();
    BackgroundPool().start([promise, abandoned, key, field, base] {
        promise->addResult(TVelquistResult().Search(0, key, field, base, abandoned.get()));
        promise->finish();
    });
    ui->treeWidget_TestResult->clear();
    ui->label_TestResult->setText(QStringLiteral("Suche läuft ..."));
    ValidateForm();
}

void TParameterMultiForm::ShowTestResult(const TVelquistSearch& search)
{
    switch (search.Outcome) {
    case TVelquistSearch::Found:
        ui->label_TestResult->setText(QStringLiteral("Gefunden: %1 Felder.").arg(search.Fields.size()));
        break;
    case TVelquistSearch::NotFound:
        ui->label_TestResult->setText(QStringLiteral("Kein Eintrag gefunden."));
        break;
    case TVelquistSearch::NoServer:
        ui->label_TestResult->setText(
            QStringLiteral("Kein Verzeichnisserver gefunden. Bitte prüfen Sie die Servereinstellungen."));
        break;
    case TVelquistSearch::Unreachable:
        ui->label_TestResult->setText(
            QStringLiteral("Der Verzeichnisserver %1 ist nicht erreichbar.").arg(TVelquist::BaseUrl()));
        break;
    case TVelquistSearch::TimedOut:
        ui->label_TestResult->setText(
            QStringLiteral("Der Verzeichnisserver hat nicht rechtzeitig geantwortet (Zeitüberschreitung)."));
        break;
    case TVelquistSearch::Failed:
        ui->label_TestResult->setText(QStringLiteral("Die Suche ist fehlgeschlagen: ") + search.Error);
        break;
    }
    const TVelquistDictionary names = m_context.Velquist ? m_context.Velquist->LDAPFields() : TVelquistDictionary();
    const QString returned = ChosenValue(ui->comboBox_ReturnParameter);
    for (auto field = search.Fields.cbegin(); field != search.Fields.cend(); ++field) {
        const QString name = names.value(field.key());
        auto* row = new QTreeWidgetItem(
            ui->treeWidget_TestResult,
            {name.isEmpty() ? field.key() : name + QStringLiteral(" (") + field.key() + u')', field.value()});
        // The field the parameter would give stands out.
        if (field.key() == returned)
            ui->treeWidget_TestResult->setCurrentItem(row);
    }
    ui->treeWidget_TestResult->resizeColumnToContents(0);
    ValidateForm();
}
