import QtQuick
import QtTest
import Vostrel.Settings
import "helpers.js" as Helpers

Item {
    id: root
    width: 900
    height: 1000

    TestCase {
        id: testCase
        name: "SchedulePage"
        when: windowShown

        Component {
            id: pageComponent
            SchedulePage { width: 900; height: 1000 }
        }

        function slotRows(page) {
            return Helpers.collect(page, "slotRow", []).filter(row => row.visible)
        }

        function test_addAndRemoveSlots() {
            const page = createTemporaryObject(pageComponent, root)
            compare(page.title, "Schedule")
            compare(page.subtitle, "Automatically lock your screen on a schedule.")
            compare(Helpers.cardTitles(page), ["Time Slots"])

            const empty = Helpers.findNamed(page, "emptySchedule")
            verify(empty.visible)
            compare(slotRows(page).length, 0)
            mouseClick(Helpers.findNamed(page, "addFirstSlotButton"))
            verify(!empty.visible)
            let rows = slotRows(page)
            compare(rows.length, 1)
            compare(Helpers.findNamed(rows[0], "timeRange").text, "09:00 – 17:00")
            compare(Helpers.findNamed(rows[0], "days").text, "Weekdays")
            verify(!rows[0].showsSeparator)

            const add = Helpers.findNamed(page, "addSlotButton")
            verify(add.visible)
            mouseClick(add)
            rows = slotRows(page)
            compare(rows.length, 2)
            verify(rows[1].showsSeparator)
            tryVerify(() => rows[1].y > rows[0].y)

            // A page built again shows what was stored.
            const again = createTemporaryObject(pageComponent, root)
            compare(again.schedule.rows.count, 2)

            mouseClick(Helpers.findNamed(rows[0], "removeSlotButton"))
            compare(slotRows(page).length, 1)
            mouseClick(Helpers.findNamed(slotRows(page)[0], "removeSlotButton"))
            compare(slotRows(page).length, 0)
            verify(empty.visible)
            verify(!add.visible)
        }
    }
}
