#include "wizard/WizardAccessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <algorithm>

#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/KWizardRouteMap.h"

namespace wizard {

namespace {

// A page reads as its painted header shows it.
class PageAccessible : public QAccessibleWidget {
public:
    explicit PageAccessible(TKWizardCustomPage* page) : QAccessibleWidget(page, QAccessible::PageTab) {}

    QString text(QAccessible::Text t) const override {
        auto* page = static_cast<TKWizardCustomPage*>(widget());
        if (t == QAccessible::Name && page->accessibleName().isEmpty()) {
            const QString& title = page->Header()->Title()->Text();
            return title.isEmpty() ? page->Caption() : title;
        }
        if (t == QAccessible::Description && page->accessibleDescription().isEmpty())
            return page->Header()->Subtitle()->Text();
        return QAccessibleWidget::text(t);
    }
};

class RouteMapAccessible;

// One row of the route map: a page the user can jump to.
class RouteMapItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RouteMapItemAccessible(RouteMapAccessible* list, TKWizardCustomPage* page) : FList(list), FPage(page) {}

    bool isValid() const override { return FPage && Map(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return Map() ? Map()->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? Map()->PageText(FPage) : QString();
    }
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect r = Map()->PageRect(FPage);
        return r.translated(Map()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.selected = Map()->Pages(Map()->PageIndex()) == FPage;
        s.disabled = !FPage->Enabled();
        s.invisible = !Map()->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        return isValid() && FPage->Enabled() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString& action) override {
        // The same as a click on the row.
        if (action == pressAction() && isValid() && FPage->Enabled())
            Map()->SetPageIndex(Map()->IndexOfPage(FPage));
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    TKWizardCustomPage* Page() const { return FPage; }

private:
    TKWizardRouteMapControl* Map() const;

    RouteMapAccessible* FList;
    QPointer<TKWizardCustomPage> FPage;
};

// The route map: a list of the rows it draws.
class RouteMapAccessible : public QAccessibleWidget {
public:
    explicit RouteMapAccessible(TKWizardRouteMapControl* map) : QAccessibleWidget(map, QAccessible::List) {}
    ~RouteMapAccessible() override {
        for (QAccessible::Id id : std::as_const(FItems))
            QAccessible::deleteAccessibleInterface(id);
    }

    TKWizardRouteMapControl* Map() const { return static_cast<TKWizardRouteMapControl*>(widget()); }

    int childCount() const override { return int(Rows().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<TKWizardCustomPage*> rows = Rows();
        return index >= 0 && index < int(rows.size()) ? Item(rows[std::size_t(index)]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const RouteMapItemAccessible*>(child);
        if (!item)
            return -1;
        const std::vector<TKWizardCustomPage*> rows = Rows();
        const auto it = std::find(rows.begin(), rows.end(), item->Page());
        return it == rows.end() ? -1 : int(it - rows.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface* c = child(i); c->rect().contains(x, y))
                return c;
        return nullptr;
    }

    // The row of a page; made once and kept in the toolkit's cache while the map lives.
    QAccessibleInterface* Item(TKWizardCustomPage* page) const {
        if (const auto it = FItems.constFind(page); it != FItems.cend())
            return QAccessible::accessibleInterface(*it);
        auto* item = new RouteMapItemAccessible(const_cast<RouteMapAccessible*>(this), page);
        FItems.insert(page, QAccessible::registerAccessibleInterface(item));
        return item;
    }

private:
    std::vector<TKWizardCustomPage*> Rows() const {
        std::vector<TKWizardCustomPage*> rows;
        for (int i = 0; i < Map()->PageCount(); ++i)
            if (TKWizardCustomPage* page = Map()->Pages(i); Map()->CanDisplay(page))
                rows.push_back(page);
        return rows;
    }

    mutable QHash<const TKWizardCustomPage*, QAccessible::Id> FItems;
};

QAccessibleInterface* RouteMapItemAccessible::parent() const {
    return FList;
}

TKWizardRouteMapControl* RouteMapItemAccessible::Map() const {
    return FList->Map();
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* page = dynamic_cast<TKWizardCustomPage*>(object))
        return new PageAccessible(page);
    if (auto* map = dynamic_cast<TKWizardRouteMapControl*>(object))
        return new RouteMapAccessible(map);
    return nullptr;
}

} // namespace

void InstallWizardAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void AnnounceRouteMapSelection(TKWizardRouteMapControl* map, int oldIndex, int newIndex) {
    if (!QAccessible::isActive() || oldIndex == newIndex)
        return;
    auto* list = dynamic_cast<RouteMapAccessible*>(QAccessible::queryAccessibleInterface(map));
    if (!list)
        return;
    QAccessible::State selected;
    selected.selected = true;
    for (int index : {oldIndex, newIndex})
        if (TKWizardCustomPage* page = map->Pages(index)) {
            QAccessibleStateChangeEvent event(list->Item(page), selected);
            QAccessible::updateAccessibility(&event);
        }
    QAccessibleEvent within(map, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&within);
}

} // namespace wizard
