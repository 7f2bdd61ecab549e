#include "platform/db/schema.h"

namespace platform::dbi {

std::string keyColumn(int key) { return "k" + std::to_string(key); }

std::string keyIndex(int key) { return "key_" + std::to_string(key); }

std::string tableSql(const FileDefinition& definition) {
  std::string sql = "CREATE TABLE records(pos INTEGER PRIMARY KEY AUTOINCREMENT, image BLOB NOT NULL, owner INTEGER";
  for (std::size_t i = 1; i <= definition.keys.size(); ++i) sql += ", " + keyColumn(static_cast<int>(i));
  return sql + ")";
}

namespace {
std::string indexBody(const FileDefinition& definition, int key, const std::string& prefix) {
  const KeyDefinition& k = definition.keys[static_cast<std::size_t>(key - 1)];
  std::string sql = std::string("CREATE ") + (k.unique ? "UNIQUE " : "") + "INDEX " + prefix + keyIndex(key) +
                    " ON records(" + keyColumn(key) + ")";
  if (k.excludeEmpty) sql += " WHERE " + keyColumn(key) + " IS NOT NULL";
  return sql;
}
}  // namespace

std::string indexSql(const FileDefinition& definition, int key) { return indexBody(definition, key, ""); }

std::string createIndexSql(const FileDefinition& definition, int key, const std::string& schema) {
  return indexBody(definition, key, schema + ".");
}

std::string reservedIndexSql() { return "CREATE INDEX reserved ON records(owner) WHERE owner IS NOT NULL"; }

std::string createReservedIndexSql(const std::string& schema) {
  return "CREATE INDEX " + schema + ".reserved ON records(owner) WHERE owner IS NOT NULL";
}

namespace {
// Fixed names: they are stored in every file, so they never change.
const char* storedTypeName(FieldType t) {
  switch (t) {
    case FieldType::String: return "STRING";
    case FieldType::CString: return "CSTRING";
    case FieldType::Byte: return "BYTE";
    case FieldType::Long: return "LONG";
    case FieldType::Date: return "DATE";
    case FieldType::Decimal: return "DECIMAL";
    case FieldType::Group: return "GROUP";
  }
  return "?";
}
}  // namespace

std::string keyDefinitions(const FileDefinition& definition) {
  std::string out;
  for (const KeyDefinition& k : definition.keys) {
    const FieldDesc& f = definition.layout->field(k.field);
    out += k.name + " field=" + std::to_string(k.field) + " type=" + storedTypeName(f.type) +
           " offset=" + std::to_string(f.offset) + " size=" + std::to_string(f.size) +
           " digits=" + std::to_string(f.digits) + " places=" + std::to_string(f.places) +
           " unique=" + (k.unique ? "1" : "0") + " excludeEmpty=" + (k.excludeEmpty ? "1" : "0") +
           " autoNumber=" + (k.autoNumber ? "1" : "0") + "\n";
  }
  return out;
}

}  // namespace platform::dbi
