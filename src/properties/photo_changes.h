#pragma once
// Which grid fields the user changed, and the photo edit they amount to.

#include <bitset>
#include <cstddef>

#include "import/photo_edit.h"
#include "properties/property_rows.h"
#include "record/photo_record.h"

// One flag per editable field (ChangedFields).
enum class EditField : std::size_t {
    Name,
    Subject,
    Keywords,
    Author,
    Comment,
    Longitude,
    Latitude,
    Altitude,
    ShotTime,
    Make,
    Model,
    Count
};

class ChangedFields {
  public:
    void Set(EditField field) { bits_.set(static_cast<std::size_t>(field)); }
    void Clear(EditField field) { bits_.reset(static_cast<std::size_t>(field)); }
    bool Test(EditField field) const { return bits_.test(static_cast<std::size_t>(field)); }
    bool Any() const { return bits_.any(); }
    void ClearAll() { bits_.reset(); }

  private:
    std::bitset<static_cast<std::size_t>(EditField::Count)> bits_;
};

// The grid row that shows a field.
int FieldRow(EditField field);

// The edit that writes the flagged fields' grid values into the photo of
// record: the texts as shown, the position from rows 15, 14 and 16 when
// any of its three flags is set, the shot time read back from row 18, and
// a new name only when the name flag is set and row 0 differs from the
// record's name. The core skips texts that the file already holds.
PhotoEdit BuildPhotoEdit(const PropertyValues& rows, const ChangedFields& changed,
                         const PhotoRecord& record);
