// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ParameterForms.h"

#include <QDialog>

#include <atomic>
#include <memory>

class TBaseParameter;
class TParameterOrvix;
class TParameterOutlookAddressbook;
class TParameterVelquist;
struct TVelquistSearch;
template <typename T>
class QFutureWatcher;

namespace Ui {
class TParameterMultiForm;
}

/**
 * @brief The dialog of the parameters that take a call value or look one up:
 * call value, directory lookup and address-book field. Its panels follow the
 * parameter's kind (the window shrinks by each hidden one).
 *
 * The directory-lookup panel can try its settings: "Testen" searches the
 * configured server for a typed number or name on a worker thread and lists
 * the fields of the answer, or says why there is none. Closing the dialog
 * abandons a search under way.
 */
class TParameterMultiForm : public QDialog
{
    Q_OBJECT

public:
    TParameterMultiForm(TBaseParameter& parameter, const TParameterFormContext& context, QWidget* parent = nullptr);
    ~TParameterMultiForm() override;

    void accept() override;
    void done(int result) override;

    // Whether a "Testen" search is under way.
    bool Testing() const;

private:
    void FillLists();
    void ValidateForm();
    bool LookupFieldsFilled() const;
    void button_TestClick();
    void ShowTestResult(const TVelquistSearch& search);

    TBaseParameter& m_parameter;
    TParameterOrvix* m_orvix;
    TParameterVelquist* m_velquist;
    TParameterOutlookAddressbook* m_addressbook;
    TParameterFormContext m_context;
    std::unique_ptr<Ui::TParameterMultiForm> ui;
    // The running search's flag; set when the dialog closes, which abandons it.
    std::shared_ptr<std::atomic<bool>> m_testAbandoned;
    QFutureWatcher<TVelquistSearch>* m_testWatcher = nullptr;
};
