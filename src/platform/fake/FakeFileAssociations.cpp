#include "platform/fake/FakeFileAssociations.h"
