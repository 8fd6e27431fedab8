#pragma once

#include <vector>

namespace wizard {

class TKWizard;
class TKWizardCustomPage;

// The wizard's pages in page order. Adding a page makes the list's wizard the page's wizard;
// deleting it clears that back reference, extracting leaves it alone.
class TKWizardPageList {
public:
    explicit TKWizardPageList(TKWizard* wizard) : FWizard(wizard) {}
    ~TKWizardPageList();
    TKWizardPageList(const TKWizardPageList&) = delete;
    TKWizardPageList& operator=(const TKWizardPageList&) = delete;

    int Count() const { return int(FItems.size()); }
    TKWizardCustomPage* Items(int index) const;
    TKWizardCustomPage* operator[](int index) const { return Items(index); }
    int IndexOf(const TKWizardCustomPage* page) const;

    void Add(TKWizardCustomPage* page);
    void Delete(int index);
    int Remove(TKWizardCustomPage* page);
    TKWizardCustomPage* Extract(TKWizardCustomPage* page);

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    friend class TKWizard;
    void ForgetWizard() { FWizard = nullptr; }

    TKWizard* FWizard;
    std::vector<TKWizardCustomPage*> FItems;
};

} // namespace wizard
