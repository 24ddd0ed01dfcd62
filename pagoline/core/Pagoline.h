#pragma once

#include "pagoline/core/CTabs.h"
#include "pagoline/core/PagolineGlobal.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class ITabStyle;
class PropertyBag;
class QMimeData;

// Pagoline, a tabbed-dialog control.
//
// It draws a strip of tabs with Unicode captions and treats the rest of its surface as
// the page of the current tab. Host controls are placed directly on the control (as
// its child widgets, one container widget per page with absolute geometry); the control
// makes each appear to belong to one page by keeping the controls of the other pages
// 75000 host units to the left, and remembers per tab which controls it moved away.
//
// Tab numbers at this interface are 0-based (a tab's FixedIndex - 1) and count hidden
// tabs. Lengths are in the host's units: pixels, or twips at 15 to a pixel. The host's
// ambient state (run or design mode, scale mode) is set through UserMode and ScaleMode.
//
// Every change through the interface emits PropertyChanged with the property's name so
// that a host knows its saved form must be written again.
//
// Persistence: InitProperties for a new control (the constructor does this), or
// ReadProperties from a saved PropertyBag; WriteProperties saves the state into one.
class PAGOLINE_EXPORT Pagoline : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(qint32 hWnd READ hWnd)
    Q_PROPERTY(MousePointerConstants MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(OLEDropConstants OLEDropMode READ OLEDropMode WRITE setOLEDropMode)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(short Rows READ Rows)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(StyleConstants Style READ Style WRITE setStyle)
    Q_PROPERTY(short Tab READ Tab WRITE setTab)
    Q_PROPERTY(float TabHeight READ TabHeight WRITE setTabHeight)
    Q_PROPERTY(float TabMaxWidth READ TabMaxWidth WRITE setTabMaxWidth)
    Q_PROPERTY(TabOrientationConstants TabOrientation READ TabOrientation WRITE setTabOrientation)
    // A form designer changes the number of tabs with its page commands or the property
    // page, which keep each tab's page and the form's undo stack in step.
    Q_PROPERTY(short Tabs READ Tabs WRITE setTabs DESIGNABLE false)
    Q_PROPERTY(short TabsPerRow READ TabsPerRow WRITE setTabsPerRow)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(bool DontShiftControls READ DontShiftControls WRITE setDontShiftControls DESIGNABLE false)
    Q_PROPERTY(bool ControlsShiftComplete READ ControlsShiftComplete DESIGNABLE false)
    Q_PROPERTY(bool UserMode READ UserMode WRITE setUserMode DESIGNABLE false)
    Q_PROPERTY(ScaleModeConstants ScaleMode READ ScaleMode WRITE setScaleMode DESIGNABLE false)
    // The whole saved state, the property bag's contents in base64, so that a form file
    // holds the control as its host saved it. Declared last: a form loader sets it after
    // the single properties, and it replaces them all.
    Q_PROPERTY(QString PropertyBagContents READ PropertyBagContents WRITE setPropertyBagContents)

public:
    // A fixed underlying type, so that a host or a form passing a number that is none of
    // the declared values is well defined; the setters and the bag reader refuse it.
    enum StyleConstants : int { ssStyleTabbedDialog = 0, ssStylePropertyPage = 1 };
    Q_ENUM(StyleConstants)
    enum TabOrientationConstants : int {
        ssTabOrientationTop = 0,
        ssTabOrientationBottom = 1,
        ssTabOrientationLeft = 2,
        ssTabOrientationRight = 3
    };
    Q_ENUM(TabOrientationConstants)
    enum OLEDropConstants : int { ssOLEDropNone = 0, ssOLEDropManual = 1 };
    Q_ENUM(OLEDropConstants)
    enum MousePointerConstants : int {
        ssDefault = 0, ssArrow = 1, ssCross = 2, ssIBeam = 3, ssIcon = 4, ssSize = 5, ssSizeNESW = 6,
        ssSizeNS = 7, ssSizeNWSE = 8, ssSizeEW = 9, ssUpArrow = 10, ssHourglass = 11, ssNoDrop = 12,
        ssArrowHourglass = 13, ssArrowQuestion = 14, ssSizeAll = 15, ssCustom = 99
    };
    Q_ENUM(MousePointerConstants)
    // The host's scale modes the control measures in.
    enum ScaleModeConstants { vbTwips = 1, vbPixels = 3 };
    Q_ENUM(ScaleModeConstants)

    // Host units of the offset that keeps the controls of other pages out of sight, and
    // the left position at or below which a control counts as being on another page.
    static constexpr int kShiftOffset = 75000;
    static constexpr int kOffPageThreshold = -10000;

    explicit Pagoline(QWidget *parent = nullptr);
    ~Pagoline() override;
    Pagoline(const Pagoline &) = delete;
    Pagoline &operator=(const Pagoline &) = delete;

    // --- persistence ---
    // A new control: three tabs Tab 0..Tab 2 with the third current, the default settings,
    // the host's font. The constructor calls it.
    void InitProperties();
    // Replaces the whole state with the one saved in bag. Missing and damaged entries
    // read as their defaults; false when the bag's first group could not be read, in
    // which case the rest of the read was abandoned.
    bool ReadProperties(const PropertyBag &bag);
    [[nodiscard]] bool WriteProperties(PropertyBag &bag) const;
    // Moves the recorded controls of every tab other than the current one off the page,
    // as a form saved with the control would hold them. ReadProperties calls it.
    void PlaceRecordedControls();

    // --- properties ---
    [[nodiscard]] uint ForeColor() const { return m_foreColor; }
    void setForeColor(uint colour);
    [[nodiscard]] uint BackColor() const { return m_backColor; }
    void setBackColor(uint colour);
    [[nodiscard]] QString Caption() const;
    void setCaption(const QString &caption);
    // The control's own Enabled: false stops its mouse and keyboard input and nothing
    // else. It is drawn as before, and the host's controls on its pages keep their own
    // enabled state. This hides QWidget::setEnabled, which would grey every widget on the
    // page; QWidget::setEnabled itself still disables the whole widget as for any widget.
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    [[nodiscard]] qint32 hWnd() const;
    [[nodiscard]] MousePointerConstants MousePointer() const { return m_mousePointer; }
    void setMousePointer(MousePointerConstants pointer);
    [[nodiscard]] QPixmap MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap &icon);
    [[nodiscard]] OLEDropConstants OLEDropMode() const { return m_oleDropMode; }
    void setOLEDropMode(OLEDropConstants mode);
    [[nodiscard]] QPixmap Picture() const;
    void setPicture(const QPixmap &picture);
    [[nodiscard]] short Rows() const { return short(m_rows); }
    [[nodiscard]] bool ShowFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool show);
    [[nodiscard]] StyleConstants Style() const { return m_style; }
    void setStyle(StyleConstants style);
    [[nodiscard]] short Tab() const;
    // A number that names no tab (below 0, beyond the last) changes nothing.
    void setTab(short tab);
    [[nodiscard]] float TabHeight() const;
    void setTabHeight(float height);
    [[nodiscard]] float TabMaxWidth() const;
    void setTabMaxWidth(float width);
    [[nodiscard]] TabOrientationConstants TabOrientation() const { return m_orientation; }
    void setTabOrientation(TabOrientationConstants orientation);
    [[nodiscard]] short Tabs() const { return short(m_tabs.Count()); }
    void setTabs(short count);
    [[nodiscard]] short TabsPerRow() const { return m_tabsPerRow; }
    // Values below 1 are ignored; the bounds of this and the other sizes are in
    // PropertyLimits.h.
    void setTabsPerRow(short perRow);
    [[nodiscard]] bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);

    // Indexed by public tab number. Reading with an index outside the list gives the
    // empty value and sets ok to false; setting with one does nothing.
    [[nodiscard]] Q_INVOKABLE QString TabCaption(short index, bool *ok = nullptr) const;
    Q_INVOKABLE void setTabCaption(short index, const QString &caption);
    [[nodiscard]] Q_INVOKABLE bool TabEnabled(short index, bool *ok = nullptr) const;
    Q_INVOKABLE void setTabEnabled(short index, bool enabled);
    [[nodiscard]] Q_INVOKABLE bool TabVisible(short index, bool *ok = nullptr) const;
    Q_INVOKABLE void setTabVisible(short index, bool visible);
    [[nodiscard]] QPixmap TabPicture(short index, bool *ok = nullptr) const;
    void setTabPicture(short index, const QPixmap &picture);

    // --- ambient state of the host ---
    // True in run mode (the default), false while a form designer hosts the control.
    [[nodiscard]] bool UserMode() const { return m_userMode; }
    void setUserMode(bool runMode);
    [[nodiscard]] ScaleModeConstants ScaleMode() const { return m_scaleMode; }
    void setScaleMode(ScaleModeConstants mode);
    [[nodiscard]] double PixelsToHost(int pixels) const;
    [[nodiscard]] int HostToPixels(double units) const;

    // --- methods ---
    // Starts a drag with the control as its source, unless one from it is in progress.
    void OLEDrag();
    // Shows the About box modally.
    Q_INVOKABLE void AboutBox();
    // The control's version, as the About box shows it: major.minor.0.revision.
    [[nodiscard]] static QString Version();

    [[nodiscard]] QString PropertyBagContents() const;
    // A text that is not base64 of a bag's contents changes nothing.
    void setPropertyBagContents(const QString &contents);

    // For a form designer's page commands: a new tab before the tab with public number
    // index (at the end when there is none), and removing a tab together with its page.
    void InsertTab(short index);
    void RemoveTab(short index);

    // --- hidden members, for hosts and designers ---
    qintptr WndProc(QObject *watched, QEvent *event);
    // Adds a record of a host control to the current tab.
    void AddContainedControl(const QString &Name, bool TabStop, int Index = -1);
    [[nodiscard]] bool DontShiftControls() const { return m_dontShift; }
    void setDontShiftControls(bool dontShift);
    [[nodiscard]] bool ControlsShiftComplete() const { return !m_shifting; }

    // Shows the control's two messages (title, text); the default is an information box.
    using MessageHandler = std::function<void(const QString &title, const QString &text)>;
    void setMessageHandler(MessageHandler handler);

    // --- layout and drawing, read by the styles ---
    [[nodiscard]] const CTabs &TabList() const { return m_tabs; }
    [[nodiscard]] CTab *CurrentTab() const;
    [[nodiscard]] const QList<CTab *> &VisibleTabs(bool rebuild);
    // One layout and drawing pass; templates are rebuilt when asked.
    void Redraw(bool recalculateTemplates);
    // FixedIndex of the tab under a client point, 0 if none.
    [[nodiscard]] int HitTest(int x, int y) const;
    // Called by the styles when the control is too small; true when the size changed.
    bool SetControlSize(int stripLength, int stripDepth);
    [[nodiscard]] int StripLength() const;
    [[nodiscard]] int StripDepth() const;
    [[nodiscard]] int PageDepth() const { return m_pageDepth; }
    [[nodiscard]] int LastTabRow() const;
    [[nodiscard]] int TabHeightPixels() const { return m_tabHeight; }
    [[nodiscard]] int TabMaxWidthPixels() const { return m_tabMaxWidth; }
    [[nodiscard]] bool ShowFocusNow() const;
    [[nodiscard]] bool ShowAcceleratorsNow() const;
    // The back buffer is made at the screen's device pixel ratio; the styles draw into
    // it in client pixels.
    [[nodiscard]] QImage &BackBuffer() { return m_buffer; }
    [[nodiscard]] const QImage &BackBuffer() const { return m_buffer; }
    [[nodiscard]] ITabStyle *StyleObject() const { return m_styleObject.get(); }

    // The inside of the current page's border, in client pixels: where a host puts the
    // container widget of a page.
    [[nodiscard]] QRect PageRect() const;
    // Gives a host control its geometry on its page, keeping it off the page by the
    // shift offset while its page is not on show.
    void PlaceHostControl(QWidget *widget, const QRect &pageGeometry);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    void PropertyChanged(const QString &name);
    void Click(short PreviousTab);
    void DblClick();
    void KeyDown(short &KeyCode, short Shift);
    void KeyPress(short &KeyAscii);
    void KeyUp(short &KeyCode, short Shift);
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);
    void OLECompleteDrag(int &Effect);
    void OLEDragDrop(const QMimeData *Data, int &Effect, short Button, short Shift, float X, float Y);
    void OLEDragOver(const QMimeData *Data, int &Effect, short Button, short Shift, float X, float Y, short &State);
    void OLEGiveFeedback(int &Effect, bool &DefaultCursors);
    void OLESetData(QMimeData *Data, short &DataFormat);
    void OLEStartDrag(QMimeData *Data, int &AllowedEffects);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend class PagolineHostControls;

    [[nodiscard]] CTab *tabAt(short index) const;
    bool SelectTab(int fixedIndex);
    void enterTab(CTab *target, short previousTab);
    bool layoutPass(bool recalculateTemplates);
    void createStyleObject();
    void applyEnabled(bool enabled);
    void report(const QString &name);
    void changed(const QString &name, bool recalculateTemplates = true);
    void showMessage(const QString &title, const QString &text);
    [[nodiscard]] QString reductionRefusal(int count) const;
    void applyCursor();
    void startInput();
    void stopInput();
    [[nodiscard]] QWidget *hostWindow() const;
    bool handleKeyDownMessage(QKeyEvent *event, qintptr &result);
    bool handleLeftButtonMessage(QMouseEvent *event);
    void navigate(int key);
    [[nodiscard]] bool bufferFitsWidget() const;
    [[nodiscard]] static bool isUserInput(const QEvent *event);
    void emitMouse(void (Pagoline::*signal)(short, short, float, float), QMouseEvent *event);
    static bool KeyHookProcedure(QObject *receiver, QKeyEvent *event);

    CTabs m_tabs;
    CTab *m_current = nullptr;
    std::unique_ptr<ITabStyle> m_styleObject;
    QList<CTab *> m_visible;
    int m_rows = 0;
    int m_pageDepth = 0;
    bool m_resizeGuard = false;
    bool m_inLayout = false;
    bool m_sizeChanged = false;
    QSize m_neededSize;

    short m_tabsPerRow = 3;
    int m_tabHeight = 20;
    int m_tabMaxWidth = 0;
    StyleConstants m_style = ssStyleTabbedDialog;
    TabOrientationConstants m_orientation = ssTabOrientationTop;
    bool m_showFocusRect = true;
    bool m_wordWrap = true;
    bool m_enabled = true;
    uint m_foreColor = 0x80000012;
    uint m_backColor = 0x8000000F;
    MousePointerConstants m_mousePointer = ssDefault;
    QPixmap m_mouseIcon;
    OLEDropConstants m_oleDropMode = ssOLEDropNone;

    bool m_userMode = true;
    ScaleModeConstants m_scaleMode = vbPixels;
    bool m_dontShift = false;
    bool m_shifting = false;
    bool m_dragInProgress = false;
    bool m_reading = false;
    QString m_subclassKey;
    int m_keyHook = 0;
    QImage m_buffer;
    MessageHandler m_messageHandler;
};
