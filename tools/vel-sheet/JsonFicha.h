// A sheet stream as JSON, both ways: sections in stream order, each with its columns (name and
// type code), its records and its trailing record number.
//
//   {"sections": [{"name": "DATAA1",
//                  "columns": [{"name": "stamina", "type": 3}, ...],
//                  "records": [{"stamina": 4, ...}, ...],
//                  "record_number": 0}, ...]}
//
// A record is an object keyed by column name, or (always accepted, and written when a section
// repeats a column name) an array of values in column order; a column missing from an object is
// null. Values by type code: whole numbers for 2, 3, 16, 17, 18 and 20; numbers for 4, 5 and 7
// (days since 30 December 1899); a decimal text such as "12.5000" (or a number) for currency, 6;
// true or false for 11; text for 256 and 8192, converted between UTF-8 and the 8-bit code page;
// true for a present value of any other code, which the stream keeps without content. null is null.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/vel-sheet/SecoesFicha.h"

namespace vel::ferramenta {

// A JSON document that is no sheet: the message names the place ("sections[2].records[0].pva").
class EJsonFicha : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

nlohmann::ordered_json ParaJson(const std::vector<Secao>& secoes);
// Throws EJsonFicha.
std::vector<Secao> DeJson(const nlohmann::ordered_json& json);
// Parses and converts; a text that is no JSON throws EJsonFicha with the parser's line and column.
std::vector<Secao> DeTextoJson(std::string_view texto);

// An 8-bit text of the code page as UTF-8, and back; the way back throws EJsonFicha (naming
// `onde`) for a character the code page lacks.
std::string AnsiParaUtf8(std::string_view ansi);
std::string Utf8ParaAnsi(std::string_view utf8, const std::string& onde);

}  // namespace vel::ferramenta
