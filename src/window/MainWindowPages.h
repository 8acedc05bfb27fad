#pragma once

#include "models/Exchange.h"
#include "window/MainSection.h"
#include "window/SceneObjects.h"

#include <functional>

class QWidget;

namespace vantrell {

// How the main window makes the page of each section. A page is made when its section becomes
// the one shown and deleted when another section is shown, so it starts from its initial view
// state each time. A section without a factory shows an empty page.
struct MainWindowPages {
    using Factory = std::function<QWidget*(const MainWindowObjects& objects)>;
    using ExchangeFactory = std::function<QWidget*(const MainWindowObjects& objects, Exchange)>;

    Factory overview;
    ExchangeFactory exchangeDetail;  // the five exchange sections
    Factory exchangeManagement;
    Factory positions;
    Factory assets;
    Factory analytics;
    Factory settings;

    // A new page of `section` (never null); the caller owns it.
    QWidget* make(MainSection section, const MainWindowObjects& objects) const;

    // The pages of the program.
    static MainWindowPages standard();
};

}  // namespace vantrell
