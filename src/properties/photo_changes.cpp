#include "properties/photo_changes.h"

#include <cstdlib>

#include "platform/c_locale_numbers.h"
#include "properties/property_commit_rules.h"

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

}  // namespace

int FieldRow(EditField field) {
    using namespace PropertyRow;
    switch (field) {
        case EditField::Name:
            return Name;
        case EditField::Subject:
            return Subject;
        case EditField::Keywords:
            return Keywords;
        case EditField::Author:
            return Author;
        case EditField::Comment:
            return Comment;
        case EditField::Longitude:
            return Longitude;
        case EditField::Latitude:
            return Latitude;
        case EditField::Altitude:
            return Altitude;
        case EditField::ShotTime:
            return ShotTime;
        case EditField::Make:
            return Make;
        case EditField::Model:
            return Model;
        case EditField::Count:
            break;
    }
    return -1;
}

PhotoEdit BuildPhotoEdit(const PropertyValues& rows, const ChangedFields& changed,
                         const PhotoRecord& record) {
    using namespace PropertyRow;
    PhotoEdit edit;
    if (changed.Test(EditField::Subject)) edit.subject = Utf8(rows[Subject]);
    if (changed.Test(EditField::Keywords)) edit.keywords = Utf8(rows[Keywords]);
    if (changed.Test(EditField::Author)) edit.author = Utf8(rows[Author]);
    if (changed.Test(EditField::Comment)) edit.comment = Utf8(rows[Comment]);
    if (changed.Test(EditField::Make)) edit.make = Utf8(rows[Make]);
    if (changed.Test(EditField::Model)) edit.model = Utf8(rows[Model]);
    if (changed.Test(EditField::Longitude) || changed.Test(EditField::Latitude) ||
        changed.Test(EditField::Altitude)) {
        GpsPosition position;
        position.latitude = LeadingFloat(rows[Latitude].toStdString());
        position.longitude = LeadingFloat(rows[Longitude].toStdString());
        position.altitude = static_cast<std::int32_t>(
            std::strtol(rows[Altitude].toUtf8().constData(), nullptr, 10));
        edit.position = position;
    }
    if (changed.Test(EditField::ShotTime)) edit.shotTime = ShotTimeSeconds(rows[ShotTime]);
    if (changed.Test(EditField::Name) && Utf8(rows[Name]) != record.strName)
        edit.newName = Utf8(rows[Name]);
    return edit;
}
