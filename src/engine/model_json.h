// The project's items as one JSON document for other tools: the schema's name and version, the
// program's version, the project, then one object per listed item in the order of the index
// (see schema/sylva-model-1.schema.json). Written item by item as it is produced, never held
// whole; the bytes depend only on the items, never on the number of threads.
//
// Within a major schema version fields are only ever added, so a reader written for 1.0 reads
// every 1.x document.
#pragma once

#include <string>

#include "engine/engine.h"
#include "support/status.h"

namespace sylva {

inline constexpr std::string_view kModelSchemaName = "sylva-model";
inline constexpr std::string_view kModelSchemaVersion = "1.1";

// Writes the model of `finished` to the file `path`, which appears only when it is complete.
// Fails as StagedFile does (a folder or link at `path`, a directory that cannot be written, a
// full disk); the file at `path` is then as it was.
Status WriteModelJson(const std::string& path, const FinishedItems& finished);

// The scope part of a qualified name: what stands before its last "::" outside brackets and
// template arguments ("garden::CBed::Plant" gives "garden::CBed", "operator<" nothing).
std::string_view ScopeOf(std::string_view name);

}  // namespace sylva
