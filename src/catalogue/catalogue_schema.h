#pragma once
// The catalogue's table and index statements. Their texts are the schema
// stored in every catalogue file, so they never change (including the type
// names "inteter" and "integery").

#include <vector>

struct SchemaStatement {
    const char* text;
    const char* label;  // printed as "<label> error!" when the statement fails
};

struct TableSchema {
    const char* name;
    std::vector<SchemaStatement> statements;  // the table first, then its indexes
};

// The six tables in creation order: tJpgMsg, tReJpgMsg, tKeyWord, tSubject,
// tFolder, tDelTable.
const std::vector<TableSchema>& CatalogueTables();
