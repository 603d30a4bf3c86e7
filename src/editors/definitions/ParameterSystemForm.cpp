// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ParameterSystemForm.h"

#include "editors/definitions/ChoiceLists.h"
#include "parameters/ParameterSystem.h"

#include "ui_ParameterSystemForm.h"

#include <QProcess>
#include <QTimer>

#include <algorithm>

namespace {

// Selects the entry equal to the pattern, adding the pattern when the list lacks
// it; without a pattern the first entry.
void SelectPattern(QComboBox* list, const QString& pattern)
{
    if (!pattern.isEmpty() && list->findText(pattern, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
        list->addItem(pattern);
    const int index = pattern.isEmpty() ? 0 : list->findText(pattern, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    list->setCurrentIndex(index);
}

// The names of the program's environment, in the environment's own order.
QStringList EnvironmentNames()
{
    QStringList names;
    for (const QString& entry : QProcess::systemEnvironment()) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals > 0)
            names.append(entry.left(equals));
    }
    names.removeDuplicates();
    return names;
}

} // namespace

TParameterSystemForm::TParameterSystemForm(TParameterSystem& parameter, const TParameterFormContext& context,
                                           QWidget* parent)
    : QDialog(parent)
    , m_parameter(parameter)
    , ui(std::make_unique<Ui::TParameterSystemForm>())
    , m_preview(std::make_unique<TParameterSystem>())
    , m_clock(new QTimer(this))
{
    ui->setupUi(this);
    ui->label_Alias->setVisible(context.ShowAlias);
    ui->edit_Alias->setVisible(context.ShowAlias);
    ui->checkBoc_ShowIfEmpty->setVisible(context.ShowAlias);
    ui->edit_Alias->setText(parameter.Alias());
    ui->checkBoc_ShowIfEmpty->setChecked(parameter.ShowIfEmpty());
    ui->comboBox_Type->setCurrentIndex(int(parameter.ParamType()));

    ui->comboBox_FormatTime->addItem(QStringLiteral("hh:nn:ss"));
    ui->comboBox_FormatDate->addItems(
        {QStringLiteral("dd.mm.yyyy"), QStringLiteral("dd/mm/yy"), QStringLiteral("yyyy-mm-dd")});
    ui->comboBox_FormatDateTime->addItems({QStringLiteral("dd.mm.yyyy hh:nn:ss"), QStringLiteral("dd/mm/yy hh:nn:ss"),
                                           QStringLiteral("yyyy-mm-dd hh:nn:ss")});
    SelectPattern(ui->comboBox_FormatTime, parameter.TimeFormat());
    SelectPattern(ui->comboBox_FormatDate, parameter.DateFormat());
    SelectPattern(ui->comboBox_FormatDateTime, parameter.DateTimeFormat());
    ui->comboBox_EnvironmentVariables->addItems(EnvironmentNames());
    SelectPattern(ui->comboBox_EnvironmentVariables, parameter.EnvironmentalVariable());

    connect(ui->comboBox_Type, &QComboBox::currentIndexChanged, this, &TParameterSystemForm::ValidateForm);
    for (QComboBox* list : {ui->comboBox_FormatTime, ui->comboBox_FormatDate, ui->comboBox_FormatDateTime,
                            ui->comboBox_EnvironmentVariables})
        connect(list, &QComboBox::editTextChanged, this, &TParameterSystemForm::ValidateForm);
    connect(m_clock, &QTimer::timeout, this, &TParameterSystemForm::ValidateForm);
    connect(ui->button_OK, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    m_clock->start(1000);
    ValidateForm();
}

TParameterSystemForm::~TParameterSystemForm() = default;

QComboBox* TParameterSystemForm::SpecialList(int type) const
{
    switch (type) {
    case spTime:
        return ui->comboBox_FormatTime;
    case spDate:
        return ui->comboBox_FormatDate;
    case spDateTime:
        return ui->comboBox_FormatDateTime;
    case spEnvironmentVariable:
        return ui->comboBox_EnvironmentVariables;
    default:
        return nullptr;
    }
}

void TParameterSystemForm::ValidateForm()
{
    const int type = ui->comboBox_Type->currentIndex();
    QComboBox* special = SpecialList(type);
    for (int other = spTime; other <= spEnvironmentVariable; ++other)
        SpecialList(other)->setVisible(SpecialList(other) == special);
    ui->label_Special->setVisible(special != nullptr);
    ui->label_Special->setText(type == spEnvironmentVariable ? QStringLiteral("Variable:") : QStringLiteral("Format:"));
    WriteTo(*m_preview);
    ui->label_Preview->setText(m_preview->GetDescription());
}

void TParameterSystemForm::WriteTo(TParameterSystem& parameter) const
{
    const int type = std::max(0, ui->comboBox_Type->currentIndex());
    parameter.SetAlias(ui->edit_Alias->text());
    parameter.SetShowIfEmpty(ui->checkBoc_ShowIfEmpty->isChecked());
    parameter.SetEnvironmentalVariable(ui->comboBox_EnvironmentVariables->currentText());
    parameter.SetTimeFormat(ui->comboBox_FormatTime->currentText());
    parameter.SetDateFormat(ui->comboBox_FormatDate->currentText());
    parameter.SetDateTimeFormat(ui->comboBox_FormatDateTime->currentText());
    parameter.SetParamType(SystemParameter(type));
    static const QString prefixes[] = {QStringLiteral("spTime_"),     QStringLiteral("spDate_"),
                                       QStringLiteral("spDateTime_"), QStringLiteral("spEnvironmentVariable_"),
                                       QStringLiteral("spIPAddress"), QStringLiteral("spComputername"),
                                       QStringLiteral("spUsername"),  QStringLiteral("spOS")};
    QString value = prefixes[type];
    if (const QComboBox* special = SpecialList(type))
        value += special->currentText();
    // The value names the parameter in template tags, where a colon cannot stand.
    parameter.SetParameterValue(value.replace(u':', u'_'));
}

void TParameterSystemForm::accept()
{
    WriteTo(m_parameter);
    QDialog::accept();
}
