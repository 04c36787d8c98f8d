// Prints every user table of a database as JSON Lines, one object per table:
// {"table": name, "rowCount": n, "columns": [...], "rows": [[...], ...]}.
// Usage: node dump.mjs FILE [PASSWORD]
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";

const [file, password] = process.argv.slice(2);
const reader = new MDBReader(readFileSync(file), password ? { password } : undefined);

function plain(v) {
  if (v === null || v === undefined) return null;
  if (v instanceof Date) return v.toISOString().replace("T", " ").replace(/\.\d+Z$/, "");
  if (Buffer.isBuffer(v)) return v.toString("hex");
  if (typeof v === "bigint") return v.toString();
  // JSON has no infinities or NaN; keep them apart from Null.
  if (typeof v === "number" && !Number.isFinite(v)) return String(v);
  return v;
}

for (const name of reader.getTableNames()) {
  const table = reader.getTable(name);
  const rows = table.getData().map((r) => table.getColumnNames().map((c) => plain(r[c])));
  console.log(JSON.stringify({ table: name, rowCount: table.rowCount, columns: table.getColumnNames(), rows }));
}
