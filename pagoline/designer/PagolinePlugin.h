#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QObject>

class Pagoline;

// Offers Pagoline in a form designer's widget box as a container. In the designer the
// control is in design mode: it shows its design-time messages, a click on a tab turns
// the page and still lets the designer select and drag the control, and every change
// marks the form as changed, so that the control's saved state (the property
// PropertyBagContents) goes into the form file. Created by a form loader outside the
// designer, the control is in run mode.
class PagolinePlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit PagolinePlugin(QObject *parent = nullptr);
    PagolinePlugin(const PagolinePlugin &) = delete;
    PagolinePlugin &operator=(const PagolinePlugin &) = delete;

    [[nodiscard]] QString name() const override { return QStringLiteral("Pagoline"); }
    [[nodiscard]] QString group() const override { return QStringLiteral("Containers"); }
    [[nodiscard]] QString toolTip() const override { return QStringLiteral("Pagoline tabbed-dialog control"); }
    [[nodiscard]] QString whatsThis() const override;
    [[nodiscard]] QString includeFile() const override { return QStringLiteral("pagoline/core/Pagoline.h"); }
    [[nodiscard]] QIcon icon() const override;
    [[nodiscard]] bool isContainer() const override { return true; }
    [[nodiscard]] QString domXml() const override;
    [[nodiscard]] bool isInitialized() const override { return m_core != nullptr; }
    void initialize(QDesignerFormEditorInterface *core) override;
    QWidget *createWidget(QWidget *parent) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void adopt(Pagoline *control);
    void stateChanged(Pagoline *control, const QString &name);
    void ensurePages(Pagoline *control);
    void placePages(Pagoline *control);

    QDesignerFormEditorInterface *m_core = nullptr;
};
