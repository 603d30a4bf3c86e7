#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class TParameters;

/**
 * @brief The program's main window, created hidden at start: it runs the
 * start-up sequence and, when the program ends, the shutdown sequence.
 */
class TMainForm : public QWidget
{
    Q_OBJECT

public:
    static const QString Title;

    TMainForm();
    ~TMainForm() override;

    // The start-up sequence; traced failures do not stop the program.
    void FormCreate();
    // The shutdown sequence: temporary files, then the rules file. Runs once; later calls do nothing.
    void FormClose();
    // Runs, in list order, every active rule marked for program start.
    void CheckStartupRules();

    // <temp>/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil
    static QString TraceFilePath();
    static QString TraceConnections(const QString& traceFile);

    const std::shared_ptr<TParameters>& Parameters() const { return m_parameters; }

private:
    std::shared_ptr<TParameters> m_parameters;
    bool m_closed = false;
};
