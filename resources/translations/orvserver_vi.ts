<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="vi_VN">
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <comment>Translate this string to the string &apos;LTR&apos; in left-to-right languages or to &apos;RTL&apos; in right-to-left languages (such as Hebrew and Arabic) to get proper widget layout.</comment>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>Đồng ý</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Hủy bỏ</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Mở</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Lưu</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Có</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Không</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Đóng</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Không lưu</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Áp dụng</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Đặt lại</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Khôi phục mặc định</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Trợ giúp</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>Lưu tất cả</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Có với &amp;tất cả</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>K&amp;hông với tất cả</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Hủy</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Thử lại</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Bỏ qua</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Xem chi tiết...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Ẩn chi tiết...</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Look in:</source>
        <translation>Tìm trong:</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Quay lại</translation>
    </message>
    <message>
        <source>Go back</source>
        <translation>Về thư mục trước</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Tiến tới</translation>
    </message>
    <message>
        <source>Go forward</source>
        <translation>Tới thư mục sau</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>Thư mục cha</translation>
    </message>
    <message>
        <source>Go to the parent directory</source>
        <translation>Lên thư mục cha</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>Tạo thư mục mới</translation>
    </message>
    <message>
        <source>Create a New Folder</source>
        <translation>Tạo một thư mục mới</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Dạng danh sách</translation>
    </message>
    <message>
        <source>Change to list view mode</source>
        <translation>Xem dạng danh sách</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>Dạng chi tiết</translation>
    </message>
    <message>
        <source>Change to detail view mode</source>
        <translation>Xem dạng chi tiết</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>Thanh bên</translation>
    </message>
    <message>
        <source>List of places and bookmarks</source>
        <translation>Các nơi và thư mục đánh dấu</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Tập tin</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Loại tập tin:</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Ổ đĩa</translation>
    </message>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Thư mục</translation>
    </message>
    <message>
        <source>File</source>
        <comment>All other platforms</comment>
        <translation>Tập tin</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Không rõ</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>Tên &amp;tập tin:</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Mở</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Mở</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Lưu thành</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Lưu</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Mọi tập tin (*)</translation>
    </message>
    <message>
        <source>Show </source>
        <translation>Hiện </translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>Đổi &amp;tên</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Xóa</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Xóa</translation>
    </message>
    <message>
        <source>Show &amp;hidden files</source>
        <translation>Hiện tập tin ẩ&amp;n</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>Thư mục &amp;mới</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Thư mục mới</translation>
    </message>
    <message>
        <source>%1 File</source>
        <translation>Tập tin %1</translation>
    </message>
    <message>
        <source>Find Directory</source>
        <translation>Chọn thư mục</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Thư mục</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Thư mục:</translation>
    </message>
    <message>
        <source>&amp;Choose</source>
        <translation>&amp;Chọn</translation>
    </message>
    <message>
        <source>Recent Places</source>
        <translation>Nơi mở gần đây</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 đã có.
Bạn có muốn thay thế không?</translation>
    </message>
    <message>
        <source>%1
File not found.
Please verify the correct file name was given.</source>
        <translation>%1
Không tìm thấy tập tin.
Hãy kiểm tra lại tên tập tin.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;?</source>
        <translation>Bạn có chắc muốn xóa &apos;%1&apos; không?</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is write protected.
Do you want to delete it anyway?</source>
        <translation>&apos;%1&apos; được bảo vệ chống ghi.
Bạn vẫn muốn xóa?</translation>
    </message>
    <message>
        <source>Could not delete directory.</source>
        <translation>Không xóa được thư mục.</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Computer</source>
        <translation>Máy tính</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>Máy tính của tôi</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Tên</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Kích thước</translation>
    </message>
    <message>
        <source>Type</source>
        <comment>All other platforms</comment>
        <translation>Loại</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Ngày sửa</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Print</source>
        <translation>In</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>Tất cả các trang</translation>
    </message>
    <message>
        <source>Odd Pages</source>
        <translation>Trang lẻ</translation>
    </message>
    <message>
        <source>Even Pages</source>
        <translation>Trang chẵn</translation>
    </message>
    <message>
        <source>&amp;Options &gt;&gt;</source>
        <translation>&amp;Tùy chọn &gt;&gt;</translation>
    </message>
    <message>
        <source>&amp;Options &lt;&lt;</source>
        <translation>&amp;Tùy chọn &lt;&lt;</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;In</translation>
    </message>
    <message>
        <source>Print to File (PDF)</source>
        <translation>In ra tập tin (PDF)</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>Tập tin trên máy</translation>
    </message>
    <message>
        <source>Write PDF file</source>
        <translation>Ghi tập tin PDF</translation>
    </message>
    <message>
        <source>Print To File ...</source>
        <translation>In ra tập tin ...</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>%1 đã có.
Bạn có muốn ghi đè không?</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 là một thư mục.
Hãy chọn tên tập tin khác.</translation>
    </message>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>Không ghi được tập tin %1.
Hãy chọn tên tập tin khác.</translation>
    </message>
    <message>
        <source>Left to Right, Top to Bottom</source>
        <translation>Trái sang phải, trên xuống dưới</translation>
    </message>
    <message>
        <source>Left to Right, Bottom to Top</source>
        <translation>Trái sang phải, dưới lên trên</translation>
    </message>
    <message>
        <source>Right to Left, Bottom to Top</source>
        <translation>Phải sang trái, dưới lên trên</translation>
    </message>
    <message>
        <source>Right to Left, Top to Bottom</source>
        <translation>Phải sang trái, trên xuống dưới</translation>
    </message>
    <message>
        <source>Bottom to Top, Left to Right</source>
        <translation>Dưới lên trên, trái sang phải</translation>
    </message>
    <message>
        <source>Bottom to Top, Right to Left</source>
        <translation>Dưới lên trên, phải sang trái</translation>
    </message>
    <message>
        <source>Top to Bottom, Left to Right</source>
        <translation>Trên xuống dưới, trái sang phải</translation>
    </message>
    <message>
        <source>Top to Bottom, Right to Left</source>
        <translation>Trên xuống dưới, phải sang trái</translation>
    </message>
</context>
<context>
    <name>QPrintWidget</name>
    <message>
        <source>Printer</source>
        <translation>Máy in</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Tên:</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>&amp;Thuộc tính</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Vị trí:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Xem trước</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Loại:</translation>
    </message>
    <message>
        <source>Output &amp;file:</source>
        <translation>Tập tin &amp;ra:</translation>
    </message>
</context>
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Print range</source>
        <translation>Phạm vi in</translation>
    </message>
    <message>
        <source>Print all</source>
        <translation>In tất cả</translation>
    </message>
    <message>
        <source>Pages from</source>
        <translation>Các trang từ</translation>
    </message>
    <message>
        <source>to</source>
        <translation>đến</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Các trang</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Ghi các trang hoặc các khoảng trang, cách nhau bằng dấu phẩy; một khoảng là hai số nối bằng dấu gạch ngang. Ví dụ: 3,5-7,9 in các trang 3, 5, 6, 7 và 9.</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>Trang hiện tại</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>Phần đã chọn</translation>
    </message>
    <message>
        <source>Page Set:</source>
        <translation>Bộ trang:</translation>
    </message>
    <message>
        <source>Output Settings</source>
        <translation>Thiết lập in</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>Số bản:</translation>
    </message>
    <message>
        <source>Collate</source>
        <translation>Sắp theo bộ</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Đảo thứ tự</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Số bản</translation>
    </message>
    <message>
        <source>Color Mode</source>
        <translation>Chế độ màu</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Màu</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Thang xám</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>In hai mặt</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Tắt</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Lật theo cạnh dài</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Lật theo cạnh ngắn</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Tùy chọn</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Printer Properties</source>
        <translation>Thuộc tính máy in</translation>
    </message>
    <message>
        <source>Job Options</source>
        <translation>Tùy chọn lệnh in</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Page</source>
        <translation>Trang</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Nâng cao</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Một số tùy chọn xung đột nhau. Hãy sửa lại.</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>Paper</source>
        <translation>Giấy</translation>
    </message>
    <message>
        <source>Page size:</source>
        <translation>Khổ giấy:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Rộng:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Cao:</translation>
    </message>
    <message>
        <source>Paper source:</source>
        <translation>Nguồn giấy:</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Hướng giấy</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Dọc</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Ngang</translation>
    </message>
    <message>
        <source>Reverse landscape</source>
        <translation>Ngang ngược</translation>
    </message>
    <message>
        <source>Reverse portrait</source>
        <translation>Dọc ngược</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>Lề</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>lề trên</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>lề trái</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>lề phải</translation>
    </message>
    <message>
        <source>bottom margin</source>
        <translation>lề dưới</translation>
    </message>
    <message>
        <source>Page Layout</source>
        <translation>Bố cục trang</translation>
    </message>
    <message>
        <source>Page order:</source>
        <translation>Thứ tự trang:</translation>
    </message>
    <message>
        <source>Pages per sheet:</source>
        <translation>Số trang mỗi tờ:</translation>
    </message>
    <message>
        <source>Millimeters (mm)</source>
        <translation>Milimét (mm)</translation>
    </message>
    <message>
        <source>Inches (in)</source>
        <translation>Inch (in)</translation>
    </message>
    <message>
        <source>Points (pt)</source>
        <translation>Point (pt)</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Tùy chỉnh</translation>
    </message>
</context>
<context>
    <name>QCupsJobWidget</name>
    <message>
        <source>Job</source>
        <translation>Lệnh in</translation>
    </message>
    <message>
        <source>Job Control</source>
        <translation>Điều khiển lệnh in</translation>
    </message>
    <message>
        <source>Scheduled printing:</source>
        <translation>Hẹn giờ in:</translation>
    </message>
    <message>
        <source>Billing information:</source>
        <translation>Thông tin thanh toán:</translation>
    </message>
    <message>
        <source>Job priority:</source>
        <translation>Độ ưu tiên:</translation>
    </message>
    <message>
        <source>Banner Pages</source>
        <translation>Trang bìa</translation>
    </message>
    <message>
        <source>End:</source>
        <comment>Banner page at end</comment>
        <translation>Cuối:</translation>
    </message>
    <message>
        <source>Start:</source>
        <comment>Banner page at start</comment>
        <translation>Đầu:</translation>
    </message>
    <message>
        <source>Print Immediately</source>
        <translation>In ngay</translation>
    </message>
    <message>
        <source>Hold Indefinitely</source>
        <translation>Giữ lại</translation>
    </message>
    <message>
        <source>Day (06:00 to 17:59)</source>
        <translation>Ban ngày (06:00 đến 17:59)</translation>
    </message>
    <message>
        <source>Night (18:00 to 05:59)</source>
        <translation>Ban đêm (18:00 đến 05:59)</translation>
    </message>
    <message>
        <source>Second Shift (16:00 to 23:59)</source>
        <translation>Ca hai (16:00 đến 23:59)</translation>
    </message>
    <message>
        <source>Third Shift (00:00 to 07:59)</source>
        <translation>Ca ba (00:00 đến 07:59)</translation>
    </message>
    <message>
        <source>Weekend (Saturday to Sunday)</source>
        <translation>Cuối tuần (thứ Bảy đến Chủ nhật)</translation>
    </message>
    <message>
        <source>Specific Time</source>
        <translation>Vào giờ định trước</translation>
    </message>
    <message>
        <source>None</source>
        <comment>CUPS Banner page</comment>
        <translation>Không</translation>
    </message>
    <message>
        <source>Standard</source>
        <comment>CUPS Banner page</comment>
        <translation>Tiêu chuẩn</translation>
    </message>
    <message>
        <source>Unclassified</source>
        <comment>CUPS Banner page</comment>
        <translation>Không phân loại</translation>
    </message>
    <message>
        <source>Confidential</source>
        <comment>CUPS Banner page</comment>
        <translation>Mật</translation>
    </message>
    <message>
        <source>Classified</source>
        <comment>CUPS Banner page</comment>
        <translation>Hạn chế</translation>
    </message>
    <message>
        <source>Secret</source>
        <comment>CUPS Banner page</comment>
        <translation>Tối mật</translation>
    </message>
    <message>
        <source>Top Secret</source>
        <comment>CUPS Banner page</comment>
        <translation>Tuyệt mật</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Hoàn tác</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Làm lại</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cắ&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Sao chép</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Dán</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Xóa</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Chọn tất cả</translation>
    </message>
</context>
</TS>
