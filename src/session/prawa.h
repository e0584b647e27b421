#pragma once
// PRAWA: the operator-rights test. Right n (1 to 20) is granted unless
// character n of M_PRAWA is "N"; M_PRAWA is 20 blanks in this program, so
// every right is granted. A right beyond M_PRAWA's length is granted too.
namespace intra {

bool PRAWA(int n);

}  // namespace intra
