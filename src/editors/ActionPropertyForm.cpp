// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/ActionPropertyForm.h"

#include "editors/definitions/ParametersFrame.h"
#include "model/BaseAction.h"

#include "ui_ActionPropertyForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QSpinBox>

#include <limits>

namespace {

// Bookkeeping of the model and of the file format, not settings of the action:
// changing one by hand would break the object (an e-mail action turned into an inner one).
bool IsInternal(QLatin1StringView name)
{
    static const QLatin1StringView internal[] = {QLatin1StringView("objectName"), QLatin1StringView("ID"),
                                                 QLatin1StringView("FreeObjects"), QLatin1StringView("IsDummy"),
                                                 QLatin1StringView("FieldID")};
    return std::find(std::begin(internal), std::end(internal), name) != std::end(internal);
}

bool HasLineBreak(const QStringList& lines)
{
    return std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'));
    });
}

} // namespace

TActionPropertyForm::TActionPropertyForm(TBaseAction& action, TParameters& model, const QString& caption,
                                         QWidget* parent)
    : QDialog(parent)
    , m_action(action)
    , ui(std::make_unique<Ui::TActionPropertyForm>())
{
    ui->setupUi(this);
    setWindowTitle(caption);
    connect(ui->button_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui->frame_Parameters->SetActiveAction(&action, &model);

    const QMetaObject* meta = action.metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const char* name = property.name();
        if (IsInternal(QLatin1StringView(name)))
            continue;
        const QVariant value = property.read(&action);
        const int type = property.metaType().id();
        if (!property.isWritable()) {
            if (type == QMetaType::QString) {
                auto* label = new QLabel(value.toString());
                label->setWordWrap(true);
                label->setTextInteractionFlags(Qt::TextSelectableByMouse);
                AddRow(name, label);
            }
            continue;
        }
        switch (type) {
        case QMetaType::Bool: {
            auto* check = new QCheckBox;
            check->setChecked(value.toBool());
            AddField(property, check, [check] { return QVariant(check->isChecked()); });
            break;
        }
        case QMetaType::Int: {
            auto* spin = new QSpinBox;
            spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
            spin->setValue(value.toInt());
            AddField(property, spin, [spin] { return QVariant(spin->value()); });
            break;
        }
        case QMetaType::QString: {
            auto* edit = new QLineEdit(value.toString());
            AddField(property, edit, [edit] { return QVariant(edit->text()); });
            break;
        }
        case QMetaType::QStringList: {
            const QStringList lines = value.toStringList();
            auto* edit = new QPlainTextEdit(lines.join(QLatin1Char('\n')));
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            // One line per entry cannot hold an entry with its own line breaks;
            // such a list is shown, not edited, so that nothing of it is lost.
            edit->setReadOnly(HasLineBreak(lines));
            AddField(property, edit, [edit, lines, initial = edit->toPlainText()] {
                const QString text = edit->toPlainText();
                if (text == initial)
                    return QVariant(lines);
                return QVariant(text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
            });
            break;
        }
        default:
            // Object lists (the parameters) and other kinds have editors of their own elsewhere.
            break;
        }
    }
}

TActionPropertyForm::~TActionPropertyForm() = default;

void TActionPropertyForm::AddRow(const char* name, QWidget* editor)
{
    editor->setObjectName(QLatin1StringView(name));
    ui->layout_Properties->addRow(QLatin1StringView(name) + QLatin1Char(':'), editor);
}

void TActionPropertyForm::AddField(const QMetaProperty& property, QWidget* editor, std::function<QVariant()> edited)
{
    AddRow(property.name(), editor);
    m_writers.push_back([this, property, edited = std::move(edited)] {
        const QVariant value = edited();
        // Unchanged fields are not written: a setter may do more than store.
        if (property.read(&m_action) != value)
            property.write(&m_action, value);
    });
}

void TActionPropertyForm::accept()
{
    for (const auto& write : m_writers)
        write();
    QDialog::accept();
}
