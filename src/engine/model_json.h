// The project's items as one JSON document for other tools: the schema's name and version, the
// program's version, the project, then one object per listed item in the order of the index
// (see schema/sylva-model-1.schema.json). Written item by item as it is produced, never held
// whole; the bytes depend only on the items, never on the number of threads.
//
// Within a major schema version fields are only ever added, so a reader written for 1.0 reads
// every 1.x document.
#pragma once

#include <memory>
#include <string>

#include "engine/engine.h"
#include "support/staged_file.h"
#include "support/status.h"

namespace sylva {

inline constexpr std::string_view kModelSchemaName = "sylva-model";
inline constexpr std::string_view kModelSchemaVersion = "1.1";

struct ModelIndex;

// The model file written while the pages are: each page's object is made from the text the page
// derived, as the page stage hands it on, and the objects of the items it hands on none of are
// made from texts derived here. The bytes are the same either way.
class ModelJsonWriter : public PageTextReader {
  public:
    // Opens the file for `path` and writes its head. REQUIRES: the items of `finished` stay as
    // they are until Finish.
    ModelJsonWriter(std::string path, const FinishedItems& finished);
    ~ModelJsonWriter() override;
    ModelJsonWriter(const ModelJsonWriter&) = delete;
    ModelJsonWriter& operator=(const ModelJsonWriter&) = delete;

    // The object of `item`, from `text` or, without it, from the text derived now.
    std::string Read(const CSylItem& item, const ItemText* text) override;
    // Writes the object of `item` after those of the items before it in the list, making the
    // objects of those it was not given. Taking an item out of the list's order only costs time:
    // every object is written once, in the list's order.
    void Take(const CSylItem& item, std::string read) override;
    // Writes the objects not yet written and puts the file at its name, where it appears only
    // when it is complete. Fails as StagedFile does (a folder or link at the name, a directory
    // that cannot be written, a full disk); the file there is then as it was. REQUIRES: called
    // once.
    Status Finish();

  private:
    void Append(std::string_view object);

    const FinishedItems finished_;
    std::unique_ptr<const ModelIndex> index_;
    StagedFile out_;
    // The listed items before this one are written.
    std::size_t next_ = 0;
};

// Writes the model of `finished` to the file `path` at once, as ModelJsonWriter does without
// pages.
Status WriteModelJson(const std::string& path, const FinishedItems& finished);

// The scope part of a qualified name: what stands before its last "::" outside brackets and
// template arguments ("garden::CBed::Plant" gives "garden::CBed", "operator<" nothing).
std::string_view ScopeOf(std::string_view name);

}  // namespace sylva
