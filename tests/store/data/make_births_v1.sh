#!/bin/sh
# Writes births-v1.sqlite: a list of births as the first version of the layout stored it, for the
# migration tests. Needs the sqlite3 program (Debian package sqlite3). Run from this folder.
set -eu
out=births-v1.sqlite
rm -f "$out"
sqlite3 "$out" <<'SQL'
PRAGMA application_id = 1399811158;
CREATE TABLE births (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL,
  year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT NULL,
  hour INTEGER NOT NULL, minute INTEGER NOT NULL,
  zone_index INTEGER NOT NULL, offset_seconds INTEGER NOT NULL DEFAULT 0,
  dst INTEGER NOT NULL,
  lon_deg INTEGER NOT NULL, lon_min INTEGER NOT NULL, east INTEGER NOT NULL,
  lat_deg INTEGER NOT NULL, lat_min INTEGER NOT NULL, south INTEGER NOT NULL,
  city TEXT NOT NULL DEFAULT '', state TEXT NOT NULL DEFAULT '', country TEXT NOT NULL DEFAULT '',
  note TEXT NOT NULL DEFAULT '',
  created_utc TEXT NOT NULL, changed_utc TEXT NOT NULL
);
CREATE INDEX births_by_changed ON births (changed_utc);
INSERT INTO births (name, year, month, day, hour, minute, zone_index, offset_seconds, dst,
                    lon_deg, lon_min, east, lat_deg, lat_min, south, city, state, country, note,
                    created_utc, changed_utc) VALUES
  ('ASHA RAO', 1980, 8, 15, 6, 30, 34, 0, 0, 77, 13, 1, 28, 36, 0, 'New Delhi', 'Delhi', 'India',
   'the sample birth', '2023-01-02T03:04:05.006Z', '2023-01-02T03:04:05.006Z'),
  ('José Álvarez', 1975, 2, 28, 23, 5, 20, 0, 1, 3, 42, 0, 40, 25, 0, 'Madrid', '', 'España',
   '', '2023-02-01T10:00:00.000Z', '2023-03-01T10:00:00.000Z'),
  ('Дмитрий Ёлкин', 1962, 12, 1, 0, 0, 12, 0, 0, 37, 37, 1, 55, 45, 0, 'Москва', '', 'Россия',
   'заметка', '2023-04-01T00:00:00.000Z', '2023-04-01T00:00:00.000Z'),
  ('अमित शर्मा', 2001, 1, 26, 12, 0, -1, 20700, 0, 85, 19, 1, 27, 42, 0, 'काठमाडौं', '', 'Nepal',
   'exact offset +5:45', '2023-05-01T00:00:00.000Z', '2023-05-01T00:00:00.000Z'),
  ('Zoë Smith', 1999, 7, 4, 14, 45, 27, 0, 1, 74, 0, 0, 40, 42, 0, 'New York', 'NY', 'USA',
   '', '2023-06-01T00:00:00.000Z', '2023-06-01T00:00:00.000Z');
PRAGMA user_version = 1;
SQL
