#pragma once
// Texts the sibling modules show (the note of the analysis conditions, latitude and longitude,
// dates, solar terms, orientations) pass through the family's language switch with the
// dictionary of the settings module, "SolxDataBase.<language>.txt".

#include <initializer_list>
#include <string>

// The text in the current language; the text itself in Chinese or without an entry.
const wchar_t* SolxText(const wchar_t* text);
// A translated pattern with "{0}", "{1}" ... replaced by the pieces, so that a language can
// order them its own way.
std::wstring SolxTextWith(const wchar_t* pattern, std::initializer_list<std::wstring> pieces);
