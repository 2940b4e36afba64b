// How the names of classes relate: the scope a member's name stands in, and the bases a class
// declaration names. Read by the scan, which gives undocumented overrides their bases' texts,
// and by the pages, which link classes to their bases.
#pragma once

#include <string_view>
#include <vector>

namespace sylva {

// `name` up to its last "::" outside template argument and parameter lists; empty when it has
// none ("geo::Shape::area" gives "geo::Shape", "A<B::C>::f" gives "A<B::C>").
std::string_view EnclosingScopeName(std::string_view name);

// The bases a class declaration names after its ":", as written without access and "virtual"
// ("class C : public A, protected virtual ns::B<int>" gives "A" and "ns::B<int>").
std::vector<std::string_view> DeclaredBases(std::string_view declaration);

// `name` before its first template argument list, without blanks around it ("ns::B<int>" gives
// "ns::B").
std::string_view WithoutTemplateArguments(std::string_view name);

// True iff `declaration` declares a specialization of the template `name` (its last part): the
// name is followed by template arguments, as in "template <> class A<int>".
bool DeclaresSpecialization(std::string_view declaration, std::string_view name);

}  // namespace sylva
