#pragma once

#include <QtDesigner/QDesignerContainerExtension>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

#include <QPointer>

class Pagoline;
class QAction;
class QDesignerFormEditorInterface;

// A Pagoline as a form designer's multi-page container: page i is the container widget
// of tab i. Widgets dropped on the control belong to the current page, and go off the
// page with it when another tab is chosen.
class PagolineContainerExtension : public QObject, public QDesignerContainerExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerContainerExtension)

public:
    PagolineContainerExtension(Pagoline *control, QObject *parent);
    PagolineContainerExtension(const PagolineContainerExtension &) = delete;
    PagolineContainerExtension &operator=(const PagolineContainerExtension &) = delete;

    [[nodiscard]] int count() const override;
    [[nodiscard]] QWidget *widget(int index) const override;
    [[nodiscard]] int currentIndex() const override;
    void setCurrentIndex(int index) override;
    [[nodiscard]] bool canAddWidget() const override { return true; }
    void addWidget(QWidget *widget) override;
    void insertWidget(int index, QWidget *widget) override;
    [[nodiscard]] bool canRemove(int index) const override;
    void remove(int index) override;

private:
    QPointer<Pagoline> m_control;
};

// The control's entries in the designer's context menu: its property page and its
// About box.
class PagolineTaskMenu : public QObject, public QDesignerTaskMenuExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    PagolineTaskMenu(Pagoline *control, QObject *parent);
    PagolineTaskMenu(const PagolineTaskMenu &) = delete;
    PagolineTaskMenu &operator=(const PagolineTaskMenu &) = delete;

    [[nodiscard]] QAction *preferredEditAction() const override { return m_properties; }
    [[nodiscard]] QList<QAction *> taskActions() const override;

private:
    void showPropertyPage();

    QPointer<Pagoline> m_control;
    QAction *m_properties;
    QAction *m_about;
};

class PagolineExtensionFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit PagolineExtensionFactory(QExtensionManager *parent = nullptr);

protected:
    QObject *createExtension(QObject *object, const QString &iid, QObject *parent) const override;
};
