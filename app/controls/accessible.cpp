#include "app/controls/accessible.h"

#include "app/controls/combo_box.h"
#include "app/controls/label.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace velmorant {

namespace {

// Qt's own combo box interface names the box by its current entry on Linux,
// so a screen reader reads "1" where the user wants to hear "大小". This one
// takes the accessible name and keeps the entry as the value; its children
// and actions are those of Qt's: the list, then the edit field.
class AccessibleComboBox final : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(ComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return Box()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = Box()->isEditable();
        return s;
    }
    int childCount() const override { return Box()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(Box()->view());
        if (index == 1 && Box()->isEditable())
            return QAccessible::queryAccessibleInterface(Box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child->object() == Box()->view())
            return 0;
        if (Box()->isEditable() && child->object() == Box()->lineEdit())
            return 1;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (Box()->isEditable() && Box()->lineEdit()->rect().contains(Box()->lineEdit()->mapFromGlobal(QPoint(x, y))))
            return child(1);
        return nullptr;
    }
    // The edit field never has the focus itself (the box is its focus proxy),
    // yet it is where typing goes.
    QAccessibleInterface* focusChild() const override { return Box()->isEditable() ? child(1) : nullptr; }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (Box()->view()->isVisible())
            Box()->hidePopup();
        else
            Box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    ComboBox* Box() const { return static_cast<ComboBox*>(widget()); }
};

// Static text, or for a link label the role Link and a press action that
// raises the label's click, so the page opens as it does for the mouse. A
// link stays out of the tab order, as before. The interface may exist before
// the label becomes a link, so it asks each time.
class AccessibleLabel final : public QAccessibleWidget {
public:
    explicit AccessibleLabel(Label* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QAccessible::Role role() const override { return Text()->IsLink() ? QAccessible::Link : QAccessible::StaticText; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && Text()->accessibleName().isEmpty())
            return Text()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = Text()->IsLink();
        return s;
    }
    QStringList actionNames() const override { return Text()->IsLink() ? QStringList{pressAction()} : QStringList{}; }
    void doAction(const QString& action) override {
        if (Text()->IsLink() && action == pressAction())
            emit Text()->click();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    Label* Text() const { return static_cast<Label*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String(ComboBox::staticMetaObject.className()))
        return new AccessibleComboBox(static_cast<ComboBox*>(object));
    if (className == QLatin1String(Label::staticMetaObject.className()))
        return new AccessibleLabel(static_cast<Label*>(object));
    return nullptr; // Qt's own interface
}

} // namespace

void InstallAccessibleFactory() { QAccessible::installFactory(Factory); }

} // namespace velmorant
