#pragma once
// The company table firma.dbf: one record with the system's own company
// data and the station map ST. Layout of the record and the map:
// docs/formats/station_map.md.
//
//   DBSELECTAREA(1);
//   if (!FILE_X("FIRMA.DBF")) TWORZ_FIRMA();
//   if (NET_USE("firma", "firma", true, 1) && company_table_needs_upgrade(WWW)) upgrade_company_table();
#include <string>
#include <string_view>

namespace intra {

// The width of ST: 99 when the marker file ST99.TXT exists, else 30.
int station_map_width();

// The field-list string TWORZ takes for the company table (ST as wide as
// station_map_width() says).
std::string company_table_structure();

// Creates firma.dbf anew and empty (through TWORZ, scratch number 1).
void TWORZ_FIRMA();

// Whether the company table open in the selected area lacks something of
// the current structure, or `www` (the start argument) asks for the
// rebuild ("3...").
bool company_table_needs_upgrade(std::string_view www);

// Rebuilds the company table open exclusively in the selected area to the
// current structure, keeping every record and every field by name (a
// widened station map keeps its characters and is blank beyond them). The
// records go through xxx.dbf in the working directory, which is erased only
// once they are back. Afterwards firma is open exclusively in the selected
// area again. False when the copy or the new table could not be had; the
// old table is then still there, or its records are in xxx.dbf.
bool upgrade_company_table();

}  // namespace intra
