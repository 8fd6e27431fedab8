#pragma once
// What screen readers read of the wizard's self-painted parts: each page as a page tab named
// with its header's title (the subtitle as its description) and the route map as a list of
// its rows, the active page's row selected.

class QAccessibleInterface;

namespace wizard {

class TKWizardRouteMapControl;

// Installs the wizard's accessible interfaces with the toolkit; the wizard does it itself.
void InstallWizardAccessibility();

// Tells screen readers that the route map's selected row moved.
void AnnounceRouteMapSelection(TKWizardRouteMapControl* map, int oldIndex, int newIndex);

} // namespace wizard
