#pragma once
// The layout of a record file inside its SQLite database.
//
//   meta(name, value)   what the file holds: "format", "format_version",
//                       "stored_name", "record_size", "keys" (the key
//                       definitions) and "key_version" (how key values are
//                       derived from records)
//   records(pos INTEGER PRIMARY KEY AUTOINCREMENT, image, owner, k1 .. kn)
//                       pos is the record's position (never reused), image
//                       its bytes, owner the reserving process's token for a
//                       reservation and NULL for a record, k<i> the value of
//                       key i (NULL when the key leaves the record out)
//   key_<i>             the index of key i: UNIQUE when the key allows no
//                       duplicates, partial (k<i> IS NOT NULL) when it leaves
//                       empty values out
//   reserved            a partial index of the reservations

#include <string>

#include "platform/db/file_definition.h"

namespace platform::dbi {

constexpr const char* FormatName = "keyed record file";
constexpr int FormatVersion = 1;
// Raised whenever the derivation of key values from records changes; files
// with another value have their keys rebuilt.
constexpr int KeyVersion = 1;
constexpr int PageSize = 8192;

std::string keyColumn(int key);
std::string keyIndex(int key);
// The statements as SQLite keeps them in sqlite_schema (no schema name).
std::string tableSql(const FileDefinition& definition);
std::string indexSql(const FileDefinition& definition, int key);
std::string reservedIndexSql();
// `schema`.-qualified forms for creating.
std::string createIndexSql(const FileDefinition& definition, int key, const std::string& schema);
std::string createReservedIndexSql(const std::string& schema);
// One line per key: name, field number, type, offset, size, digits,
// places, unique, excludeEmpty, autoNumber.
std::string keyDefinitions(const FileDefinition& definition);

}  // namespace platform::dbi
