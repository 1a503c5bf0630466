#include "data/tfielddef.h"

#include "data/databaseerror.h"

paradox::FieldDef toParadox(const TFieldDef& def)
{
    switch (def.type) {
    case TFieldType::ftString:
        if (def.size < 1 || def.size > 255)
            throw DatabaseError("Field '" + def.name + "' needs a size between 1 and 255");
        return paradox::alphaField(def.name, static_cast<std::uint8_t>(def.size));
    case TFieldType::ftSmallint:
        return paradox::shortField(def.name);
    case TFieldType::ftInteger:
        return paradox::longField(def.name);
    case TFieldType::ftBoolean:
        return paradox::logicalField(def.name);
    case TFieldType::ftMemo:
        return paradox::memoField(def.name);
    case TFieldType::ftBlob:
        return paradox::binaryField(def.name);
    }
    throw DatabaseError("Field '" + def.name + "' has an unknown type");
}
