#!/usr/bin/env bash
# Tables written by our engine must read the same in an independent dBASE
# reader (Debian's python3-dbf), and tables that reader writes must read
# the same in ours.
# Usage: standard_reader.sh PATH_TO_DBTOOL PYTHON3
set -euo pipefail
dbtool=$(realpath "$1")
python=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Ours -> theirs.
"$dbtool" create "towary,INDEKS,C,8,0,NAZWA,C,20,0,ILOSC,N,10,3,CENA,N,8,2,DATA,D,8,0,OK,L,1,0"
cat >in.csv <<'CSV'
INDEKS,NAZWA,ILOSC,CENA,DATA,OK
A001,Sruba M6,1234.5,0.35,20241231,T
B-7,"Nakretka, ocynk",-3,12.00,,F
C9,,0,99999.99,20000229,T
CSV
"$dbtool" import towary in.csv
"$python" - towary.dbf >theirs.txt <<'PY'
import sys, dbf
t = dbf.Table(sys.argv[1], codepage='cp852')
t.open(dbf.READ_ONLY)
for r in t:
    print("|".join([r.indeks.rstrip(), r.nazwa.rstrip(), "%.3f" % r.ilosc, "%.2f" % r.cena,
                    r.data.strftime("%Y%m%d") if r.data else "", "T" if r.ok else "F"]))
t.close()
PY
expected='A001|Sruba M6|1234.500|0.35|20241231|T
B-7|Nakretka, ocynk|-3.000|12.00||F
C9||0.000|99999.99|20000229|T'
if [ "$(cat theirs.txt)" != "$expected" ]; then
  echo "FAIL: the standard reader sees:"; cat theirs.txt; exit 1
fi

# Theirs -> ours.
"$python" - <<'PY'
import dbf, datetime
t = dbf.Table('obce.dbf', 'KOD C(6); OPIS C(15); WAGA N(9,3); DNIA D; JEST L', dbf_type='db3', codepage='cp852')
t.open(dbf.READ_WRITE)
t.append(('PL01', 'pierwszy', 1.25, datetime.date(2024, 5, 31), True))
t.append(('DE02', 'drugi', -0.5, None, False))
t.close()
PY
"$dbtool" export obce >ours.csv
expected='KOD,OPIS,WAGA,DNIA,JEST
PL01,pierwszy,1.250,20240531,T
DE02,drugi,-0.500,,F'
if [ "$(cat ours.csv)" != "$expected" ]; then
  echo "FAIL: our engine sees:"; cat ours.csv; exit 1
fi
echo "standard reader check: 2 passed, 0 failed"
