#include "telephony/OrvixLine.h"

TOrvixLine::TOrvixLine()
{
    for (int i = 0; i < CustomVariableCount; ++i) {
        const QString name = QStringLiteral("Custom") + QString::number(i);
        m_temporaryVariables.insert(name, TUserVariable(name, {}));
    }
}

QStringList TOrvixLine::DefaultLineStatesPossible()
{
    return {QStringLiteral("LSInactive"), QStringLiteral("LSRinging"),   QStringLiteral("LSDialing"),
            QStringLiteral("LSAlerting"), QStringLiteral("LSKnocking"),  QStringLiteral("LSBusy"),
            QStringLiteral("LSActive"),   QStringLiteral("LSTerminated")};
}

void TOrvixLine::SetUserVariable(const QString& name, const QString& value)
{
    m_temporaryVariables.insert(name, TUserVariable(name, value));
}

QString TOrvixLine::GetUserVariableResult(const QString& variable) const
{
    const auto found = m_temporaryVariables.constFind(variable);
    return found != m_temporaryVariables.cend() ? found->Value() : QString();
}
