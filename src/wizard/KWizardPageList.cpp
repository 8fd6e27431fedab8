#include "wizard/KWizardPageList.h"

#include <algorithm>

#include "wizard/KWizardPage.h"

namespace wizard {

TKWizardPageList::~TKWizardPageList() {
    FWizard = nullptr;
    for (TKWizardCustomPage* page : FItems)
        page->FWizard = nullptr;
}

TKWizardCustomPage* TKWizardPageList::Items(int index) const {
    return index >= 0 && index < Count() ? FItems[std::size_t(index)] : nullptr;
}

int TKWizardPageList::IndexOf(const TKWizardCustomPage* page) const {
    const auto it = std::find(FItems.begin(), FItems.end(), page);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TKWizardPageList::Add(TKWizardCustomPage* page) {
    FItems.push_back(page);
    page->FWizard = FWizard;
}

void TKWizardPageList::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    TKWizardCustomPage* page = FItems[std::size_t(index)];
    FItems.erase(FItems.begin() + index);
    page->FWizard = nullptr;
}

int TKWizardPageList::Remove(TKWizardCustomPage* page) {
    const int index = IndexOf(page);
    Delete(index);
    return index;
}

TKWizardCustomPage* TKWizardPageList::Extract(TKWizardCustomPage* page) {
    const int index = IndexOf(page);
    if (index < 0)
        return nullptr;
    FItems.erase(FItems.begin() + index);
    return page;
}

} // namespace wizard
