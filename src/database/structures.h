#pragma once
// The field list of every table the system creates or rebuilds, in field
// order. An optional field is in the list when its condition holds
// (structure_conditions.h) and absent otherwise; the same list serves the
// first creation and every rebuild, so a condition that starts to hold
// adds its field at the next rebuild. Where a table lives and when it is
// rebuilt is the table catalogue's business, not these functions'.
//
//   StructureConditions c;
//   TWORZ(structure_string(HH + "\\dow", dow_structure(c)));
//
// Each function writes its table's fields one per line; an optional
// field's condition is named cN after the number it has in the table's
// list of conditions.
#include <vector>

#include "database/structure_conditions.h"
#include "storage/table.h"

namespace intra {

// --- month directory
std::vector<FieldSpec> as_structure(const StructureConditions& c);     // stock items
std::vector<FieldSpec> zo_structure(const StructureConditions& c);     // customers (kind O)
std::vector<FieldSpec> zd_structure(const StructureConditions& c);     // contractors of kind D
std::vector<FieldSpec> zp_structure(const StructureConditions& c);     // kind P: zd without NODB1
std::vector<FieldSpec> zf_structure(const StructureConditions& c);     // kind F
std::vector<FieldSpec> dow_structure(const StructureConditions& c);    // document lines
std::vector<FieldSpec> dowod_structure(const StructureConditions& c);  // document headers
std::vector<FieldSpec> slow_structure(const StructureConditions& c);   // document kinds
std::vector<FieldSpec> fa_n_structure(const StructureConditions& c);   // settlements fa_N
std::vector<FieldSpec> fa_nx_structure(const StructureConditions& c);  // settlement journal
std::vector<FieldSpec> pk_structure(const StructureConditions& c);     // chart of accounts
std::vector<FieldSpec> akc_structure(const StructureConditions& c);    // excise document counters

// --- working directory
std::vector<FieldSpec> zn_structure(const StructureConditions& c);  // the structure of zp
std::vector<FieldSpec> pp_structure(const StructureConditions& c);  // payment orders PP (and PP20<YY>)
std::vector<FieldSpec> opak_structure(const StructureConditions& c);      // returnable packaging
std::vector<FieldSpec> as_zb_structure(const StructureConditions& c);     // barcode register
std::vector<FieldSpec> wal_structure(const StructureConditions& c);       // exchange rates
std::vector<FieldSpec> dostawcy_structure(const StructureConditions& c);  // daily supplier list
std::vector<FieldSpec> as_ex0_structure(const StructureConditions& c);    // languages
std::vector<FieldSpec> as_ex_structure(const StructureConditions& c);     // foreign item names
std::vector<FieldSpec> partia20_structure(const StructureConditions& c);  // batches
std::vector<FieldSpec> cmr_structure(const StructureConditions& c);       // consignment notes
std::vector<FieldSpec> zebra_structure(const StructureConditions& c);     // label texts

// --- workstation and other directories
std::vector<FieldSpec> document_buffer_structure(const StructureConditions& c);     // rob\d<NN>
std::vector<FieldSpec> settlement_scratch_structure(const StructureConditions& c);  // rob\fa_n<NN>
std::vector<FieldSpec> order_lines_structure(const StructureConditions& c);         // fv_zam\dow
std::vector<FieldSpec> order_headers_structure(const StructureConditions& c);       // fv_zam\dowod
std::vector<FieldSpec> advance_invoices_structure(const StructureConditions& c);    // fv_zal\dowod
std::vector<FieldSpec> price_checker_structure(const StructureConditions& c);       // weryfika\tow

}  // namespace intra
