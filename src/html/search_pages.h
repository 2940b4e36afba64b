// The search index in a generation run: whether the run writes it, what each description page
// gives it, and writing it into the project directory at the end of the page stage.
#pragma once

#include <string>
#include <string_view>

#include "html/search_index.h"

#include "html/page_text.h"

namespace sylva {

// True when the settings switch the search on (SYL_HTML_SEARCH).
bool SearchEnabled(const Settings& settings);

// What the index holds of `item`, whose page shows `text`: the texts of the sections its page
// shows, but for See also (names of other items, each found by its own name, and the two links
// every page ends with), Doc type (its words are the item's type) and the date line that the run
// adds to every History section. Safe to call from several threads.
IndexedEntry SearchEntryOf(const PageJob& job, const CSylItem& item, const PageText& text);

// The entries of a run's search index as the description pages hand them over, in item order,
// and the index written from them at the end into the project directory. A file that cannot be
// written is reported as a failure of the run (and the index writes nothing more). With a memo,
// an index whose entries all are those of the last run is left as it is.
class SearchFeed {
  public:
    explicit SearchFeed(PageJob& job);

    // The entry of a fresh page, as its record holds it.
    void AddRecorded(const CSylItem& item, std::string_view encoded);
    // The entry of a page just built; returns it encoded, for the page's record.
    std::string AddBuilt(const CSylItem& item, IndexedEntry entry);
    // Writes the rest of the index once every entry is added.
    void Finish();

  private:
    // Hands the entries held back to the writer and writes from now on.
    void StopDeferring();

    PageJob& job_;
    SearchIndexWriter writer_;
    std::size_t count_ = 0;
    Hasher sequence_;
    // While every entry so far is the one the last run recorded at its page, the entries are
    // held back (as their items): an index that comes out the same need not be written.
    bool deferring_;
    std::vector<const CSylItem*> deferred_;
};

}  // namespace sylva
