// The dataset base's vocabulary: field data types and kinds, dataset states, data events, the
// database error and its messages.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/Exception.h"

namespace db {

enum class TFieldType : uint8_t {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid,
  ftTimeStamp,
  ftFMTBcd,
  ftFixedWideChar,
  ftWideMemo,
  ftOraTimeStamp,
  ftOraInterval,
  ftLongWord,
  ftShortint,
  ftByte,
  ftExtended,
  ftConnection,
  ftParams,
  ftStream,
  ftTimeStampOffset,
  ftObject,
  ftSingle,
};
inline constexpr int kFieldTypeCount = static_cast<int>(TFieldType::ftSingle) + 1;

// The data types whose values live in blob streams rather than in the record.
bool IsBlobType(TFieldType type);

enum class TFieldKind : uint8_t { fkData, fkCalculated, fkLookup };

enum class TDataSetState : uint8_t {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
};

enum class TDataEvent : uint8_t {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  deFocusControl,
};

enum class TGetMode : uint8_t { gmCurrent, gmNext, gmPrior };
enum class TGetResult : uint8_t { grOK, grBOF, grEOF, grError };
enum class TBookmarkFlag : uint8_t { bfCurrent, bfBOF, bfEOF, bfInserted };
enum class TDataAction : uint8_t { daFail, daAbort, daRetry };
enum class TBlobStreamMode : uint8_t { bmRead = 0, bmWrite = 1, bmReadWrite = 2 };

// Resync options: rmExact fails when the current record is gone; rmCenter centres the window.
enum TResyncMode : uint8_t { rmNone = 0, rmExact = 1, rmCenter = 2 };

class EDatabaseError : public rt::Exception {
  using Exception::Exception;
};

// Messages of the dataset base, shown to users exactly as written.
namespace msg {
inline constexpr char16_t kDataSetEmpty[] = u"Cannot perform this operation on an empty dataset";
inline constexpr char16_t kDataSetClosed[] = u"Cannot perform this operation on a closed dataset";
inline constexpr char16_t kDataSetOpen[] = u"Cannot perform this operation on an open dataset";
inline constexpr char16_t kDataSetReadOnly[] = u"Cannot modify a read-only dataset";
inline constexpr char16_t kNotEditing[] = u"Dataset not in edit or insert mode";
inline constexpr char16_t kRecordNotFound[] = u"Record not found";
inline constexpr char16_t kFieldNotFound[] = u"Field '%s' not found";
inline constexpr char16_t kFieldRequired[] = u"Field '%s' must have a value";
inline constexpr char16_t kFieldRangeError[] =
    u"%g is not a valid value for field '%s'. The allowed range is %g to %g";
inline constexpr char16_t kInvalidIntegerValue[] =
    u"'%s' is not a valid integer value for field '%s'";
inline constexpr char16_t kInvalidFloatValue[] =
    u"'%s' is not a valid floating point value for field '%s'";
inline constexpr char16_t kFieldAccessError[] = u"Cannot access field '%s' as type %s";
inline constexpr char16_t kDataSetMissing[] = u"Field '%s' has no dataset";
inline constexpr char16_t kDuplicateFieldName[] = u"Duplicate field name '%s'";
inline constexpr char16_t kFieldTypeMismatch[] = u"Type mismatch for field '%s'";
inline constexpr char16_t kCircularDataLink[] = u"Circular datalinks are not allowed";
inline constexpr char16_t kBookmarkTooLarge[] = u"Bookmark size exceeds the supported size";
}  // namespace msg

}  // namespace db
