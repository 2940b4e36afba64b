// The text of an item's page: the neutral text the scan derives (ItemText), rendered into the
// lines the page shows. The parameter table becomes rows of its templates, the See also names
// become links, the type words a caption.
#pragma once

#include <string>
#include <string_view>

#include "html/html.h"

namespace sylva {

struct PageText {
    // The declaration as the Syntax block shows it.
    std::string declaration;
    // The lines of each section as the page writes them.
    SectionLists sections;
    // True when the Parameter section is a table: its lines then carry no line breaks.
    bool hasParamTable = false;
    // "<group><BR>(<type words>)".
    std::string typeLabel;
};

// The page text of `item` from its derived `text`.
PageText RenderPageText(const CSylItem& item, ItemText text, const Settings& settings,
                        const RunOptions& options, const Project& project);

// The page text of `item`, derived and rendered.
PageText DerivePageText(const CSylItem& item, const PageJob& job);

}  // namespace sylva
