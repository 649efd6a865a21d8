<!DOCTYPE html>
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-16">
<title>REPORT_TITLE</title>
<style type="text/css">
  /* Printable on A4 and Letter: the page box leaves the print margins of the report dialog. */
  @page { size: auto; margin: 0.16667in 0.23667in 0.16667in 0.23667in; }
  body { font-family: "DejaVu Sans", Arial, Helvetica, sans-serif; font-size: 8pt; color: #000;
         margin: 0; }
  .Page { width: 7.2in; margin: 0 auto; }
  .Banner { border-bottom: 2px solid #0000ff; margin-bottom: 6pt; }
  .Banner td { vertical-align: middle; }
  .ReportName { font-size: 14pt; font-weight: bold; color: #00007f; }
  .Product { font-size: 8pt; color: #555; }
  .ItemTitle { font-size: 11pt; font-weight: bold; color: #00007f; margin: 8pt 0 3pt 0; }
  .ItemTitleU { font-weight: bold; text-decoration: underline; }
  .ItemTitleUC { font-weight: bold; text-decoration: underline; text-align: left;
                 padding-right: 6pt; white-space: nowrap; }
  .Item { margin: 1pt 0; }
  .ItemName { font-weight: bold; padding-right: 6pt; white-space: nowrap; }
  .ItemVal { padding-right: 6pt; vertical-align: top; }
  table { page-break-inside: avoid; }
  img.Model { height: 1.1in; }
</style>
</head>
<body>
<div class="Page">
<table class="Banner" width="100%" border="0" cellpadding="4" cellspacing="0">
  <tr>
    <td width="120"><img class="Model" src="MODEL_PIC.jpg" alt="MODEL_PIC" height="105"></td>
    <td><div class="ReportName">REPORT_TITLE</div>
        <div class="Product">QMV VLT &mdash; QMV410</div></td>
  </tr>
</table>
<!-- report content begin -->
</div>
</body>
</html>
