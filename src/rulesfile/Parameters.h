// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseList.h"
#include "model/XmlNavigation.h"

#include <QHash>

#include <pugixml.hpp>

#include <memory>
#include <string_view>

class LineManagerService;
class TActionBaseMessage;
class TActionSequence;
class TBaseAction;
class TBaseParameter;
class TOrvixEventController;
class TOrvixLine;
class TRule;
class TVelquist;
class TXmlRecordReader;
class TXmlRecordWriter;

/**
 * @brief Owner of everything the user configured: the rule list and the action
 * sequence list (which own the rules and sequences), plus the objects they
 * share: the event controller and a line object.
 *
 * It reads and writes the rules file (an "EventController" root holding
 * "AllActionSequences" and "AllRules"), makes working copies for the editors
 * (Clone) and unique names for copied rules and sequences. Element names in a
 * file are matched without regard to case; attribute names and text exactly.
 * The directory-lookup client is shared with copies of the model and with its
 * discovery task, which may outlive the model.
 *
 * The order of both lists matters: it is the order of the rules file, the
 * order in which rules meet a call, and a rule names each of its sequences by position.
 *
 * Loading and saving report failure as false and never throw: a broken file
 * leaves the lists as they were, or loads what it can with default values.
 */
class TParameters
{
public:
    TParameters();
    ~TParameters();
    TParameters(const TParameters&) = delete;
    TParameters& operator=(const TParameters&) = delete;

    bool Active() const { return m_active; }
    // Switches rule processing on or off, in the model and in the event controller
    // (the controller is set even when the model's flag already has the value).
    void SetActive(bool active);

    // Creates the event controller, which connects to the softphone. Once, at start,
    // after the rules are loaded.
    void InitLineManager(LineManagerService* service = nullptr);
    TOrvixEventController* OrvixEventController() const { return m_orvixEventController.get(); }

    TBaseList& Rules() { return m_rules; }
    const TBaseList& Rules() const { return m_rules; }
    TBaseList& ActionSequences() { return m_actionSequences; }
    const TBaseList& ActionSequences() const { return m_actionSequences; }
    const std::shared_ptr<TOrvixLine>& OrvixLine() const { return m_orvixLine; }
    const std::shared_ptr<TVelquist>& Velquist() const { return m_velquist; }

    // An empty file name means the rules file. False when the file is missing or
    // unreadable, or lacks one of the two lists.
    bool LoadObjectsFromXMLFile(const QString& fileName);
    // The same for a document in memory, which is left as it is.
    bool LoadObjectsFromXMLDoc(const pugi::xml_document& doc);
    /**
     * Writes both lists; an empty file name means the rules file. The file is
     * replaced only by a complete new one (written beside it, then renamed): on
     * failure the old file stays and the result is false. An existing file that
     * could not be read when it was loaded is first moved aside (see UnreadableFiles).
     */
    bool SaveObjectsToXMLFile(const QString& fileName);
    // Writes both lists to that file in the same way, but throws EKestrunError with
    // the cause on failure and keeps nothing aside: for files other than the rules file.
    void WriteObjectsToXMLFile(const QString& path);
    // Both lists in a fresh document; null on failure.
    std::unique_ptr<pugi::xml_document> SaveObjectsToXMLDoc() const;
    // A document with the XML declaration (version "1.0") and the root element "EventController".
    static std::unique_ptr<pugi::xml_document> GetXMLDoc();

    // The readers match element names ignoring case, as if every name had been
    // turned into capitals and looked up in capitals.
    bool LoadActionSequencesFromXML(const pugi::xml_document& doc);
    // Needs the sequences of the same document loaded: rules name them by position.
    bool LoadRulesFromXML(const pugi::xml_document& doc);
    bool SaveActionSequencesToXML(pugi::xml_document& doc, TCaseType caseType) const;
    bool SaveRulesToXML(pugi::xml_document& doc, TCaseType caseType) const;

    /**
     * A working copy: new rules, sequences, actions and parameters with the same
     * IDs, made through the file format. It shares the event controller and the
     * line object with this model (whichever of the two is dropped leaves them to
     * the other) and starts with the same Active state.
     */
    std::unique_ptr<TParameters> Clone() const;

    /**
     * A deep copy of one action or parameter for a dialog to edit: the same IDs,
     * the parameters and inner actions copied too, made through the record format
     * so that it holds exactly what a reload would. The dialog hands it back on OK
     * (ReplaceItem of model/ListOwnership) and drops it on cancel. Null for an object of a class
     * that the rules file has no identifier for.
     */
    std::unique_ptr<TBaseAction> CopyAction(const TBaseAction& source);
    std::unique_ptr<TBaseParameter> CopyParameter(const TBaseParameter& source);

    // A name for a copied or imported rule (sequence) that no rule (sequence) has,
    // ignoring case: the name itself, or it followed by " (Kopie)" as often as needed.
    QString GetNewRuleName(const QString& currentName) const;
    QString GetNewActionSequenceName(const QString& currentName) const;

    /**
     * A copy of the sequence, not yet in the list: named by GetNewActionSequenceName,
     * with the source's icon and duplicates of its actions as a reload of the rules
     * file gives them. The copy, its actions, their parameters and inner actions get
     * new IDs: an ID names one object only (windows and files of a run are keyed by it).
     */
    std::unique_ptr<TActionSequence> CopyActionSequence(const TActionSequence& source);
    // The balloon and HTML messages of the other sequences whose buttons offer the sequence.
    QList<TActionBaseMessage*> MessagesOfferingActionSequence(const TActionSequence& sequence) const;
    // Takes the sequence out of the list and frees it; rules drop their links to
    // it, and messages the buttons that offered it.
    void DeleteActionSequence(TActionSequence* sequence);

    // Deletes the leftover "{GUID}.HTMLTemplate.*" files of HTML messages in the data folder.
    void CleanTempFiles();

    // Read one value; a missing element reads as false, -1 or an empty text.
    static bool GetNodeValueBoolean(pugi::xml_node node);
    static int GetNodeValueInteger(pugi::xml_node node);
    static QString GetNodeValueString(pugi::xml_node node);
    // Parameter values keep their blanks in a file as "&nbsp;".
    static QString XmlToText(const QString& text);
    static QString TextToXml(const QString& text);

    // Inner actions of e-mail actions nested deeper than this are not read: a
    // real file has one level, and a hostile one must not exhaust the stack.
    static constexpr int MaxInnerActionDepth = 16;

    // How rules files are parsed. A value that is nothing but blanks is kept (it
    // may be one), and line breaks inside a value stay as written, so that a value
    // with CR LF comes back with CR LF. An element's text is kept in the element
    // itself rather than in a node of its own: half the nodes for a rules file,
    // read alike by ElementText; such a document is only read, never written.
    static constexpr unsigned XmlParseOptions =
        (pugi::parse_default & ~pugi::parse_eol) | pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

private:
    bool LoadDoc(const pugi::xml_document& doc);
    void WriteActionSequences(TXmlRecordWriter& all) const;
    void WriteActionSequence(TXmlRecordWriter& record, const TActionSequence* sequence) const;
    void WriteRules(TXmlRecordWriter& all) const;
    // positions: each sequence's position in the sequence list, counted from 1.
    void WriteRule(TXmlRecordWriter& record, const TRule* rule, const QHash<const TBaseObject*, int>& positions) const;
    void WriteBaseAction(TXmlRecordWriter& record, const TBaseAction* action) const;
    std::unique_ptr<TActionSequence> LoadSequence(const TXmlRecordReader& record);
    std::unique_ptr<TRule> LoadRule(const TXmlRecordReader& record);
    std::unique_ptr<TBaseAction> ReadBaseAction(const TXmlRecordReader& record);
    void WriteBaseActionValues(TXmlRecordWriter& record, const TBaseAction* action) const;
    void WriteParameterValues(TXmlRecordWriter& record, const TBaseParameter* parameter) const;
    void ReadBaseActionValues(const TXmlRecordReader& record, TBaseAction* action, int depth);
    void ReadParameters(const TXmlRecordReader& action, TBaseAction* target, bool giveLine, const char* traceTitle);
    void ReadParameterValues(const TXmlRecordReader& record, TBaseParameter* parameter);
    void RegisterUserVariable(const QString& name);
    void DropLinksTo(const QList<TBaseObject*>& sequences);

    bool m_active = true;
    // Shared with working copies (Clone): the controller and the directory-lookup
    // client outlive whichever model is dropped.
    std::shared_ptr<TOrvixEventController> m_orvixEventController;
    std::shared_ptr<TVelquist> m_velquist;
    std::shared_ptr<TOrvixLine> m_orvixLine;
    TBaseList m_rules;
    TBaseList m_actionSequences;
    // The file being loaded or saved, for the trace; empty for documents in memory.
    QString m_xmlFileName;
};
