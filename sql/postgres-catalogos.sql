-- Sorvanta tables on PostgreSQL (15 or later). Run once in the database of each entity:
--   psql -d sorvanta -f sql/postgres-catalogos.sql     then, for SYSTABLAS, sql/postgres-paises.sql
-- Text keys compare without regard to letter case, as the program expects
-- ('pur' finds the catalog PUR): a nondeterministic ICU collation on key and lookup columns.
-- Names are left unquoted, so they are stored in lower case and match any spelling.

create collation if not exists sin_mayusculas (provider = icu, locale = 'und-u-ks-level2', deterministic = false);

create table if not exists catalogo (
    idcatalogo text collate sin_mayusculas primary key,
    descripcion text
);

create table if not exists catarticulos (
    idcatalogo text collate sin_mayusculas not null,
    idarticulo text collate sin_mayusculas not null,
    descripcion text,
    descripcion_maria text,
    ncm text,
    ArtKgUnitario double precision,
    IdPais text,
    USUARIO text,
    FECHA timestamp,
    observacion1 text,
    observacion2 text,
    observacion3 text,
    idunidad text,
    sufijos text,
    primary key (idcatalogo, idarticulo)
);

create table if not exists ORG (
    PAI text collate sin_mayusculas,
    ORI text,
    ESM text
);
create index if not exists org_pai on ORG (PAI);

create table if not exists PAIS (
    id text collate sin_mayusculas primary key,
    Descripcion text
);

insert into catalogo (idcatalogo, descripcion) values ('PUR', 'Compras'), ('GEN', 'General')
    on conflict do nothing;
