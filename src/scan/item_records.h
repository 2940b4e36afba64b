// Items as records: the items one source file gave, as bytes that a later run files again
// instead of reading the file, and the digest of an item by which a later run tells whether its
// page can have changed.
//
// The bytes hold every field of every item (item_records.cpp lists them in one place, next to a
// check that fails to compile when a field is added to the item but not to the list).
#pragma once

#include <string>
#include <string_view>

#include "scan/items.h"
#include "support/digest.h"
#include "support/zt_time.h"

namespace sylva {

// The items filed into `items` since `from`, with the groups their file defined and the images
// and example files its comments showed.
std::string EncodeFileItems(const ItemList& items, ItemList::Mark from);

enum class RecordUse : unsigned char {
    kFiled,
    kStale,    // an image or example the file's comments show is found otherwise now, or an
               // example's bytes changed: read the file again
    kDamaged,  // the bytes hold no such record
};

// Files what `bytes` hold into `items` as the scan of the file `sourcePath` (below `scanPath`,
// with `settings`), last written at `lastWrite`, would: each item gets its page number from the
// list and points at the list's copy of the path. Nothing is filed unless the answer is kFiled.
RecordUse DecodeFileItems(std::string_view bytes, ItemList& items, const std::string& sourcePath,
                          CZTTime lastWrite, const Settings& settings, const std::string& scanPath);

// The digest of every field of `item`.
Digest ItemDigest(const CSylItem& item);

}  // namespace sylva
