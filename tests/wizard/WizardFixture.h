#pragma once

// A wizard in a shown window with the calculator's sizes, and helpers to look at pixels.

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/ImageList.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"
#include "wizard/RouteMapNodes.h"

namespace wizardtest {

using namespace wizard;

inline QFont PixelFont(const char* family, int pixels, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

struct WizardWindow {
    std::unique_ptr<QWidget> Window;
    TKWizard* Wizard = nullptr;
    TKWizardRouteMapNodes* Map = nullptr;
    std::vector<TKWizardInteriorPage*> Pages;
    std::vector<std::string> Log; // events in the order they fired

    // pageCount pages titled P0, P1, ...; withMap adds the calculator's route map.
    explicit WizardWindow(int pageCount, bool withMap = false) : Window(std::make_unique<QWidget>()) {
        Window->resize(664, 568);
        Window->setFont(PixelFont("Tahoma", 11));
        Wizard = new TKWizard(Window.get());
        Wizard->BeginLoading();
        for (int i = 0; i < pageCount; ++i) {
            auto* page = new TKWizardInteriorPage(Wizard);
            const QString name = QStringLiteral("P%1").arg(i);
            page->SetCaption(name);
            page->Header()->Title()->SetText(name);
            page->Header()->SetHeight(45);
            page->SetColor(clWindow);
            Pages.push_back(page);
        }
        if (withMap) {
            Map = new TKWizardRouteMapNodes(Wizard);
            Map->resize(220, Map->height());
            Map->SetItemHeight(30);
            Map->setFont(PixelFont("Tahoma", 11));
        }
    }

    // Finishes loading (first enabled page selected) and shows the window.
    void Start() {
        Window->show();
        Wizard->Loaded();
    }

    // Records every page and wizard event into Log.
    void Trace() {
        for (TKWizardInteriorPage* p : Pages) {
            const std::string n = p->Caption().toStdString();
            p->OnEnterPage = [this, n](TKWizardCustomPage*, TKWizardCustomPage*) {
                Log.push_back(n + ".Enter");
            };
            p->OnExitPage = [this, n](TKWizardCustomPage*, TKWizardCustomPage*) {
                Log.push_back(n + ".Exit");
            };
            p->OnPage = [this, n](QObject*) { Log.push_back(n + ".Page"); };
            p->OnNextButtonClick = [this, n](TKWizardCustomPage*, bool&) { Log.push_back(n + ".NextClick"); };
            p->OnBackButtonClick = [this, n](TKWizardCustomPage*, bool&) { Log.push_back(n + ".BackClick"); };
        }
        Wizard->OnNextButtonClick = [this](QObject*) { Log.push_back("W.NextClick"); };
        Wizard->OnBackButtonClick = [this](QObject*) { Log.push_back("W.BackClick"); };
        Wizard->OnSelectNextPage = [this](TKWizard*, TKWizardCustomPage*, TKWizardCustomPage*&) {
            Log.push_back("W.SelectNext");
        };
        Wizard->OnSelectPriorPage = [this](TKWizard*, TKWizardCustomPage*, TKWizardCustomPage*&) {
            Log.push_back("W.SelectPrior");
        };
    }

    void Click(TKWizardButtonKind kind) { Wizard->ButtonControl(kind)->click(); }
    int Active() const {
        for (std::size_t i = 0; i < Pages.size(); ++i)
            if (Pages[i] == Wizard->ActivePage())
                return int(i);
        return -1;
    }
};

inline QImage Grab(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb Rgb(TColor c) {
    return ColorToQColor(c).rgb() | 0xFF000000u;
}

// Bounding box of the pixels in area whose colour is not bg.
inline QRect InkBox(const QImage& img, const QRect& area, QRgb bg) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((img.pixel(x, y) | 0xFF000000u) != (bg | 0xFF000000u))
                box |= QRect(x, y, 1, 1);
    return box;
}

inline int CountPixels(const QImage& img, const QRect& area, QRgb color) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (img.pixel(x, y) | 0xFF000000u) == (color | 0xFF000000u);
    return n;
}

} // namespace wizardtest
