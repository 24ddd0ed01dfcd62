#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class Pagoline;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The property page "General" of a Pagoline: the current tab's caption, stepping
// through the tabs, and the general settings. It edits the first control of the
// selection it is given; OK and Apply write the fields back, in a fixed order, through
// the control's public properties, so every rule of those properties holds.
class PAGOLINE_EXPORT PGeneral : public QDialog
{
    Q_OBJECT

public:
    explicit PGeneral(QWidget *parent = nullptr);
    PGeneral(const PGeneral &) = delete;
    PGeneral &operator=(const PGeneral &) = delete;

    // Takes the first control of the selection and fills the page from it.
    void SelectionChanged(const QList<Pagoline *> &selection);
    [[nodiscard]] Pagoline *Control() const { return m_control; }
    // True when a field was changed since the page was filled or last applied.
    [[nodiscard]] bool Changed() const { return m_changed; }
    // Writes the fields to the control; stops at a text that is not a number, keeping
    // what was applied before it and leaving the page changed. False when it stopped.
    bool ApplyChanges();

    // The entries of the four lists: text and the value each stands for.
    struct Entry
    {
        const char *text;
        int value;
    };
    [[nodiscard]] static QList<Entry> OrientationEntries();
    [[nodiscard]] static QList<Entry> StyleEntries();
    [[nodiscard]] static QList<Entry> MousePointerEntries();
    [[nodiscard]] static QList<Entry> OLEDropModeEntries();

private:
    void buildFields();
    QLineEdit *addText(const char *name, const char *label, QRect twips);
    QComboBox *addList(const char *name, const char *label, QRect twips, const QList<Entry> &entries);
    QCheckBox *addCheck(const char *name, const char *caption, QRect twips);
    void fillPage();
    void LoadValues();
    void markChanged();
    void step(int by);
    void accept() override;

    QPointer<Pagoline> m_control;
    bool m_loading = false;
    bool m_changed = false;
    QLineEdit *m_txtIndex = nullptr;
    QPushButton *m_cmdLeft = nullptr;
    QPushButton *m_cmdRight = nullptr;
    QLineEdit *m_txtTabCaption = nullptr;
    QLineEdit *m_txtTabCount = nullptr;
    QComboBox *m_cboOrientation = nullptr;
    QLineEdit *m_txtTabsPerRow = nullptr;
    QComboBox *m_cboStyle = nullptr;
    QLineEdit *m_txtTabHeight = nullptr;
    QLineEdit *m_txtTabMaxWidth = nullptr;
    QComboBox *m_cboMousePointer = nullptr;
    QComboBox *m_cboOLEDropMode = nullptr;
    QCheckBox *m_chkWordWrap = nullptr;
    QCheckBox *m_chkShowFocusRect = nullptr;
    QCheckBox *m_chkEnabled = nullptr;
    QPushButton *m_cmdApply = nullptr;
};
